// The settings dialog driven through real mouse and key events on the
// offscreen platform, with the recording fake as the store.
#include "settings/FrogSet.h"

#include "platform/fake/FakePlatform.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsTable.h"
#include "startup/Globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::FakePlatform;

QPoint indicatorCentre(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
}

QRect scrollBarPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class FrogSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UnitsPerPixelX = 15;
        UnitsPerPixelY = 15;
        SaverSettings = {};
    }
    void TearDown() override { SaverSettings = {}; }

    // Opens the dialog as the user sees it: shown and active.
    FrogSet& open()
    {
        dialog = std::make_unique<FrogSet>(fake);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    template <class Widget = QWidget>
    Widget* control(const char* name)
    {
        auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QCheckBox* box(const char* name) { return control<QCheckBox>(name); }
    QScrollBar* bar() { return control<QScrollBar>("HScroll1"); }
    QString number() { return control<QLabel>("Label12")->text(); }

    void click(QCheckBox* checkBox)
    {
        QTest::mouseClick(checkBox, Qt::LeftButton, {}, indicatorCentre(checkBox));
    }
    void click(const char* button) { QTest::mouseClick(control(button), Qt::LeftButton); }

    std::vector<std::string> saves() const { return fake.callsStartingWith("rtcSaveSetting"); }

    // What OK must store for these settings: what SaveSettings writes for them.
    static std::vector<std::string> savesOf(const SaverSettingsRecord& settings)
    {
        FakePlatform reference;
        SaveSettings(reference, settings);
        return reference.calls;
    }

    FakePlatform fake;
    std::unique_ptr<FrogSet> dialog;
};

const std::vector<std::string> NothingStored;

TEST_F(FrogSetTest, FirstRunShowsEverythingOffAndEnabled)
{
    open();
    for (const StoredSetting& option : storedFlags()) {
        EXPECT_FALSE(box(option.checkBox)->isChecked()) << option.checkBox;
        EXPECT_TRUE(box(option.checkBox)->isEnabled()) << option.checkBox;
    }
    EXPECT_EQ(bar()->value(), 0);
    EXPECT_EQ(number(), "0");
    EXPECT_EQ(QApplication::focusWidget(), control("CmdOK"));
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(FrogSetTest, OpensWithTheStoredOptionsAndSpeed)
{
    SaverSettings = {-1, 0, -1, 0, 70};
    open();
    // Spelt out, as this pins which box shows which option.
    EXPECT_TRUE(box("CheckHole")->isChecked());
    EXPECT_FALSE(box("CheckStreak")->isChecked());
    EXPECT_TRUE(box("CheckSnd")->isChecked());
    EXPECT_EQ(bar()->value(), 70);
    EXPECT_EQ(number(), "70");
}

TEST_F(FrogSetTest, BlankAtOpeningClearsAndDisablesBothClearingBoxes)
{
    SaverSettings = {-1, -1, 0, -1, 0};
    open();
    EXPECT_TRUE(box("CheckBlank")->isChecked());
    for (const char* name : {"CheckHole", "CheckStreak"}) {
        EXPECT_FALSE(box(name)->isChecked()) << name;
        EXPECT_FALSE(box(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(control("Label1")->isEnabled()); // labels are never greyed
    click(box("CheckHole"));
    EXPECT_FALSE(box("CheckHole")->isChecked());

    click("CmdOK");
    const SaverSettingsRecord onlyBlank{0, 0, 0, -1, 0};
    EXPECT_EQ(saves(), savesOf(onlyBlank));
    EXPECT_EQ(SaverSettings, onlyBlank);
}

TEST_F(FrogSetTest, UncheckingBlankEnablesTheClearingBoxesButLeavesThemUnchecked)
{
    SaverSettings = {-1, -1, 0, 0, 0};
    open();
    click(box("CheckBlank"));
    EXPECT_FALSE(box("CheckHole")->isChecked());
    EXPECT_FALSE(box("CheckHole")->isEnabled());
    EXPECT_FALSE(box("CheckStreak")->isEnabled());

    click(box("CheckBlank"));
    for (const char* name : {"CheckHole", "CheckStreak"}) {
        EXPECT_FALSE(box(name)->isChecked()) << name;
        EXPECT_TRUE(box(name)->isEnabled()) << name;
    }
    click(box("CheckStreak"));
    EXPECT_TRUE(box("CheckStreak")->isChecked());
}

TEST_F(FrogSetTest, SoundIsIndependentOfBlank)
{
    SaverSettings = {0, 0, -1, 0, 0};
    open();
    click(box("CheckBlank"));
    EXPECT_TRUE(box("CheckSnd")->isChecked());
    EXPECT_TRUE(box("CheckSnd")->isEnabled());
    click(box("CheckSnd"));
    EXPECT_FALSE(box("CheckSnd")->isChecked());
    EXPECT_TRUE(box("CheckBlank")->isChecked());
    EXPECT_TRUE(box("CheckSnd")->isEnabled());
}

TEST_F(FrogSetTest, LabelsDoNotToggleTheirBoxes)
{
    open();
    QTest::mouseClick(control("Label3"), Qt::LeftButton);
    QTest::mouseClick(control("Label4"), Qt::LeftButton);
    EXPECT_FALSE(box("CheckSnd")->isChecked());
    EXPECT_FALSE(box("CheckBlank")->isChecked());
}

TEST_F(FrogSetTest, CancelAfterChangesStoresNothing)
{
    const SaverSettingsRecord before{-1, 0, 0, 0, 40};
    SaverSettings = before;
    open();
    click(box("CheckBlank"));
    click(box("CheckSnd"));
    QTest::keyClick(bar(), Qt::Key_End);
    click("CmdCancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(SaverSettings, before);
}

TEST_F(FrogSetTest, ClosingTheWindowStoresNothing)
{
    open();
    click(box("CheckSnd"));
    dialog->close();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(SaverSettings.Sound, 0);
}

TEST_F(FrogSetTest, OkStoresWhatReadsBackTheSame)
{
    SaverSettings = {-1, 0, 0, 0, 20};
    open();
    click(box("CheckHole"));
    click(box("CheckStreak"));
    click(box("CheckSnd"));
    QTest::keyClick(bar(), Qt::Key_PageDown); // 20 + 30
    click("CmdOK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const SaverSettingsRecord chosen{0, -1, -1, 0, 50};
    EXPECT_EQ(saves(), savesOf(chosen));
    EXPECT_EQ(SaverSettings, chosen);

    SaverSettings = {};
    LoadSettings(fake);
    EXPECT_EQ(SaverSettings, chosen);
}

TEST_F(FrogSetTest, ArrowClickStopsAtTheMaximum)
{
    SaverSettings.Speed = 195;
    open();
    const QRect arrow = scrollBarPart(bar(), QStyle::SC_ScrollBarAddLine);
    ASSERT_FALSE(arrow.isEmpty());
    QTest::mouseClick(bar(), Qt::LeftButton, {}, arrow.center());
    EXPECT_EQ(bar()->value(), 200);
    EXPECT_EQ(number(), "200");
    QTest::mouseClick(bar(), Qt::LeftButton, {}, arrow.center());
    EXPECT_EQ(bar()->value(), 200);

    const QRect back = scrollBarPart(bar(), QStyle::SC_ScrollBarSubLine);
    QTest::mouseClick(bar(), Qt::LeftButton, {}, back.center());
    EXPECT_EQ(number(), "190");
}

TEST_F(FrogSetTest, TrackClickStepsByThirtyAndStopsAtZero)
{
    SaverSettings.Speed = 10;
    open();
    const QRect rightTrack = scrollBarPart(bar(), QStyle::SC_ScrollBarAddPage);
    ASSERT_FALSE(rightTrack.isEmpty());
    QTest::mouseClick(bar(), Qt::LeftButton, {}, rightTrack.center());
    EXPECT_EQ(number(), "40");

    QTest::keyClick(bar(), Qt::Key_PageUp);
    ASSERT_EQ(number(), "10");
    const QRect leftTrack = scrollBarPart(bar(), QStyle::SC_ScrollBarSubPage);
    ASSERT_FALSE(leftTrack.isEmpty());
    QTest::mouseClick(bar(), Qt::LeftButton, {}, leftTrack.center());
    EXPECT_EQ(bar()->value(), 0);
    EXPECT_EQ(number(), "0");
}

struct BarKey {
    Qt::Key key;    // Qt::Key_unknown: a turn of the wheel instead
    int wheel;      // angle of that turn in eighths of a degree, up positive
    int value;      // after the key or the turn, from 100
};

class FrogSetBarKeys : public FrogSetTest, public ::testing::WithParamInterface<BarKey> {
protected:
    void send(const BarKey& input)
    {
        if (input.key != Qt::Key_unknown) {
            QTest::keyClick(bar(), input.key);
            return;
        }
        const QPointF at = QRectF(bar()->rect()).center();
        QWheelEvent turn(at, bar()->mapToGlobal(at), QPoint(), QPoint(0, input.wheel), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar(), &turn);
    }
};

TEST_P(FrogSetBarKeys, RightAndDownGoTowardsSlowerLeftAndUpTowardsFaster)
{
    SaverSettings.Speed = 100;
    open();
    bar()->setFocus();
    send(GetParam());
    EXPECT_EQ(bar()->value(), GetParam().value);
    EXPECT_EQ(number(), QString::number(GetParam().value));
}

// The wheel moves the bar as a slider's: turned up towards "Slower", down
// towards "Faster"; one notch moves it by the desktop's three lines, here a page.
INSTANTIATE_TEST_SUITE_P(
    Keys, FrogSetBarKeys,
    ::testing::Values(BarKey{Qt::Key_Right, 0, 110}, BarKey{Qt::Key_Down, 0, 110},
                      BarKey{Qt::Key_PageDown, 0, 130}, BarKey{Qt::Key_End, 0, 200},
                      BarKey{Qt::Key_Left, 0, 90}, BarKey{Qt::Key_Up, 0, 90},
                      BarKey{Qt::Key_PageUp, 0, 70}, BarKey{Qt::Key_Home, 0, 0},
                      BarKey{Qt::Key_unknown, 120, 130}, BarKey{Qt::Key_unknown, -120, 70}),
    [](const auto& info) {
        if (info.param.key != Qt::Key_unknown)
            return QKeySequence(info.param.key).toString().toStdString();
        return std::string(info.param.wheel > 0 ? "WheelUp" : "WheelDown");
    });

TEST_F(FrogSetTest, NumberFollowsADragOnlyWhenItEnds)
{
    open();
    QScrollBar* scrollBar = bar();
    const QPoint grip = scrollBarPart(scrollBar, QStyle::SC_ScrollBarSlider).center();
    const QPoint farRight = scrollBarPart(scrollBar, QStyle::SC_ScrollBarAddPage).bottomRight();
    sendMouse(scrollBar, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    sendMouse(scrollBar, QEvent::MouseMove, farRight, Qt::LeftButton);
    EXPECT_EQ(scrollBar->sliderPosition(), 200);
    EXPECT_EQ(number(), "0");
    sendMouse(scrollBar, QEvent::MouseButtonRelease, farRight, Qt::NoButton);
    EXPECT_EQ(scrollBar->value(), 200);
    EXPECT_EQ(number(), "200");
}

TEST_F(FrogSetTest, TabOrderRunsFromOkToTheBar)
{
    open();
    const std::vector<std::string> expected{"CmdCancel", "CheckHole", "CheckStreak", "CheckSnd",
                                            "CheckBlank", "HScroll1", "CmdOK"};
    for (const std::string& name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), name);
    }
}

struct KeyCase {
    const char* focus;
    Qt::Key key;
    bool stores;
};

class FrogSetKeys : public FrogSetTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FrogSetKeys, EnterPressesTheFocusedButtonOrOkAndEscCancels)
{
    const KeyCase& keyCase = GetParam();
    open();
    control(keyCase.focus)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), keyCase.key);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), keyCase.stores ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(saves().size(), keyCase.stores ? 5u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FrogSetKeys,
    ::testing::Values(KeyCase{"CmdOK", Qt::Key_Return, true}, KeyCase{"CmdOK", Qt::Key_Enter, true},
                      KeyCase{"CheckHole", Qt::Key_Return, true},
                      KeyCase{"CheckBlank", Qt::Key_Enter, true},
                      KeyCase{"HScroll1", Qt::Key_Return, true},
                      KeyCase{"CmdCancel", Qt::Key_Return, false},
                      KeyCase{"CmdCancel", Qt::Key_Enter, false},
                      KeyCase{"CmdOK", Qt::Key_Escape, false},
                      KeyCase{"CmdCancel", Qt::Key_Escape, false},
                      KeyCase{"CheckSnd", Qt::Key_Escape, false},
                      KeyCase{"HScroll1", Qt::Key_Escape, false}),
    [](const auto& info) {
        return info.param.focus + QKeySequence(info.param.key).toString().toStdString();
    });

TEST_F(FrogSetTest, EnterPressesOkAgainOnceTheFocusLeavesCancel)
{
    open();
    control("CmdCancel")->setFocus();
    QTest::keyClick(control("CmdCancel"), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), control("CheckHole"));
    QTest::keyClick(control("CheckHole"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(saves().size(), 5u);
}

TEST_F(FrogSetTest, WindowIsFixedWithOnlyACaption)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Lilywade Settings");
    EXPECT_EQ(dialog->minimumSize(), QSize(462, 285));
    EXPECT_EQ(dialog->maximumSize(), QSize(462, 285));
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog->parentWidget(), nullptr);
    const QList<QSize> iconSizes = dialog->windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)) && iconSizes.contains(QSize(128, 128)));
}

TEST_F(FrogSetTest, TextsAreExact)
{
    open();
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "Frog Clears screen when at rest"},
        {"Label2", "Frog Clears screen when Jumping"},
        {"Label3", "Sound"},
        {"Label4", "Blank Screen"},
        {"Label11", "Value"},
        {"Label13", "Faster                             Slower     "},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(control<QLabel>(name)->text(), text) << name;
    EXPECT_EQ(control<QLabel>("Label13")->text().size(), 46);
    EXPECT_EQ(control<QPushButton>("CmdOK")->text(), "OK");
    EXPECT_EQ(control<QPushButton>("CmdCancel")->text(), "Cancel");
    for (const StoredSetting& option : storedFlags())
        EXPECT_TRUE(box(option.checkBox)->text().isEmpty()) << option.checkBox;
    EXPECT_TRUE(control<QLabel>("Label12")->alignment().testFlag(Qt::AlignHCenter));
}

TEST_F(FrogSetTest, EveryTextIsWhollyVisibleAndTheLegendSpansTheBar)
{
    open();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        const QString shown = label->text().trimmed();
        const QFontMetricsF metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(shown), label->width()) << label->objectName().toStdString();
        EXPECT_LE(metrics.height(), label->height()) << label->objectName().toStdString();
    }
    // "Slower" ends near the bar's right end, below it.
    auto* legend = control<QLabel>("Label13");
    EXPECT_GT(QFontMetricsF(legend->font()).horizontalAdvance(legend->text().trimmed()),
              0.8 * bar()->width());
    EXPECT_EQ(legend->x(), bar()->x());
    EXPECT_GE(legend->y(), bar()->geometry().bottom());
    for (const StoredSetting& setting : storedFlags()) {
        QCheckBox* const checkBox = box(setting.checkBox);
        QStyleOptionButton option;
        option.initFrom(checkBox);
        const QRect square =
            checkBox->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, checkBox);
        EXPECT_TRUE(checkBox->rect().contains(square)) << setting.checkBox;
    }
}

struct GeometryCase {
    const char* name;
    QRect pixels;
};

class FrogSetGeometry : public FrogSetTest, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(FrogSetGeometry, ControlSitsAtItsTwipsRectangleAt96Dpi)
{
    dialog = std::make_unique<FrogSet>(fake);
    EXPECT_EQ(control(GetParam().name)->geometry(), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, FrogSetGeometry,
    ::testing::Values(GeometryCase{"CmdOK", {376, 8, 81, 25}},
                      GeometryCase{"CmdCancel", {376, 48, 81, 25}},
                      GeometryCase{"CheckHole", {40, 56, 17, 13}},
                      GeometryCase{"Label1", {64, 56, 185, 17}},
                      GeometryCase{"CheckStreak", {40, 96, 17, 13}},
                      GeometryCase{"Label2", {64, 96, 193, 17}},
                      GeometryCase{"CheckSnd", {40, 136, 17, 13}},
                      GeometryCase{"Label3", {64, 136, 129, 17}},
                      GeometryCase{"CheckBlank", {40, 176, 17, 13}},
                      GeometryCase{"Label4", {64, 176, 129, 17}},
                      GeometryCase{"Label11", {56, 200, 57, 17}},
                      GeometryCase{"Label12", {136, 200, 33, 21}},
                      GeometryCase{"HScroll1", {24, 224, 153, 17}},
                      GeometryCase{"Label13", {24, 248, 153, 17}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrogSetTest, ClientAreaOpensAtItsTwipsPosition)
{
    dialog = std::make_unique<FrogSet>(fake);
    EXPECT_EQ(dialog->geometry(), QRect(124, 186, 462, 285));
}

TEST_F(FrogSetTest, TwipsFollowTheScreenScaleAndSurviveAZeroScale)
{
    UnitsPerPixelX = 12;
    UnitsPerPixelY = 12;
    EXPECT_EQ(twipsToPixels({5640, 120, 1215, 375}), QRect(470, 10, 101, 31));
    UnitsPerPixelX = 0;
    UnitsPerPixelY = 0;
    EXPECT_EQ(twipsToPixels({5640, 120, 1215, 375}), QRect(376, 8, 81, 25));
}

} // namespace
