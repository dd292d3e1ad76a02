#pragma once
// The settings dialog: four check boxes and a speed scroll bar over the
// program-wide SaverSettings; OK stores them, anything else stores nothing.

#include "platform/Platform.h"

#include <QDialog>
#include <QRect>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
struct StoredSetting;

/** A rectangle in twips (1/1440 inch), as Left, Top, Width, Height. */
struct TwipsRect {
    int left, top, width, height;
};

/** The rectangle in pixels at the screen's twips per pixel (UnitsPerPixelX/Y). */
QRect twipsToPixels(const TwipsRect& twips);

class FrogSet : public QDialog {
    Q_OBJECT
public:
    /** Builds the dialog and loads it from SaverSettings; no owner window. */
    explicit FrogSet(platform::Platform& platform);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeButtons();
    void placeBoxes();
    void placeSpeedBar();
    QCheckBox* placeBox(const char* name, const TwipsRect& twips);
    QLabel* placeLabel(const char* name, const QString& text, const TwipsRect& twips);
    void fitTexts();
    QCheckBox* boxFor(const StoredSetting& option) const;
    void Form_Load();
    void HScroll1_Change(int value);
    bool HScroll1_KeyDown(int key);
    void CheckBlank_Click();
    void CmdOK_Click();
    void CmdCancel_Click();

    platform::Platform& platform_;
    QPushButton* CmdOK;
    QPushButton* CmdCancel;
    QCheckBox* CheckHole;
    QCheckBox* CheckStreak;
    QCheckBox* CheckSnd;
    QCheckBox* CheckBlank;
    QLabel* Label12;
    QLabel* Label13;
    QScrollBar* HScroll1;
};
