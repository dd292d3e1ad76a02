#pragma once
// The stand-in host's window: a small preview area that the program draws
// into, and buttons that start its settings dialog and the saver itself.

#include <QStringList>
#include <QWidget>

class QLabel;

class HostWindow : public QWidget {
    Q_OBJECT
public:
    /** program: the saver to start, usually Lilywade.scr beside the host. */
    explicit HostWindow(QString program);

    /** Starts the program's preview in the preview area. */
    void startPreview();

private:
    void settingsClicked();
    void previewFullScreenClicked();
    void run(const QStringList& arguments);

    QString program_;
    QWidget* previewArea_;
    QLabel* status_;
};
