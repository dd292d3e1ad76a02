#pragma once
// The preview window: hidden itself, it lends its picture of a frog to the
// host's preview window and ends the program once that window is gone.

#include "platform/Platform.h"

#include <QImage>
#include <QWidget>
#include <cstdint>

class QLabel;
class QTimer;

/** Pixels of a picture count pixels long, laid out in twips as the 16-bit product
 *  count x unitsPerPixel and converted back; never scales the picture. */
int previewPixels(int count, std::int16_t unitsPerPixel);

class FrmPrev : public QWidget {
    Q_OBJECT
public:
    /** Creates the hidden window with its picture showing still; Timer1 runs from here on. */
    FrmPrev(platform::Platform& platform, const QImage& still);

    /** Load: moves the picture into the host's window PreviewParent. */
    void Form_Load();

    /** The window id of Picture1, the picture the host shows. */
    platform::WindowId pictureId() const;
    /** The window id of the preview window itself, the picture's home. */
    platform::WindowId homeId() const;

signals:
    /** The window has unloaded itself; it was the program's only window. */
    void unloaded();

private:
    void Timer1_Timer();
    void unload();

    platform::Platform& platform_;
    QLabel* Picture1;
    QTimer* Timer1;
};
