#include "settings/FrogSet.h"

#include "icons/ProgramIcon.h"
#include "settings/DialogFont.h"
#include "settings/SaverSettings.h"
#include "settings/SettingsTable.h"
#include "startup/Globals.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Where the client area opens on the screen, and its size, in twips.
constexpr TwipsRect ClientArea{1860, 2790, 6930, 4275};

// The legend: "Faster" at the bar's left end, "Slower" near its right end.
const QString Legend = QStringLiteral("Faster") + QString(29, QLatin1Char(' ')) +
                       QStringLiteral("Slower") + QString(5, QLatin1Char(' '));

// A zero scale (never set, or an odd screen) would divide by zero; 96 dpi then.
int toPixels(int twips, std::int16_t twipsPerPixel)
{
    const double scale = twipsPerPixel > 0 ? twipsPerPixel : 15.0;
    return int(std::lround(twips / scale));
}

template <class Widget>
Widget* place(Widget* widget, const char* name, const TwipsRect& twips)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipsToPixels(twips));
    return widget;
}

} // namespace

QRect twipsToPixels(const TwipsRect& twips)
{
    return QRect(toPixels(twips.left, UnitsPerPixelX), toPixels(twips.top, UnitsPerPixelY),
                 toPixels(twips.width, UnitsPerPixelX), toPixels(twips.height, UnitsPerPixelY));
}

FrogSet::FrogSet(platform::Platform& platform)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      platform_(platform)
{
    setObjectName(QStringLiteral("FrogSet"));
    setWindowTitle(QStringLiteral("Lilywade Settings"));
    setWindowIcon(programIcon());
    const QRect client = twipsToPixels(ClientArea);
    setGeometry(client);
    setFixedSize(client.size());
    placeButtons();
    placeBoxes();
    placeSpeedBar();
    fitTexts();
    QWidget* const tabOrder[] = {CmdOK, CmdCancel, CheckHole, CheckStreak, CheckSnd, CheckBlank,
                                 HScroll1};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(HScroll1, &QScrollBar::valueChanged, this, &FrogSet::HScroll1_Change);
    connect(CheckBlank, &QCheckBox::stateChanged, this, &FrogSet::CheckBlank_Click);
    connect(CmdOK, &QPushButton::clicked, this, &FrogSet::CmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrogSet::CmdCancel_Click);
    Form_Load();
    CmdOK->setFocus();
}

void FrogSet::placeButtons()
{
    CmdOK = place(new QPushButton(QStringLiteral("OK"), this), "CmdOK", {5640, 120, 1215, 375});
    CmdOK->setDefault(true);
    CmdCancel = place(new QPushButton(QStringLiteral("Cancel"), this), "CmdCancel",
                      {5640, 720, 1215, 375});
}

// The boxes are only as wide as their square; their texts are separate labels,
// which stay ungreyed and do nothing when clicked.
void FrogSet::placeBoxes()
{
    CheckHole = placeBox("CheckHole", {600, 840, 255, 195});
    placeLabel("Label1", "Frog Clears screen when at rest", {960, 840, 2775, 255});
    CheckStreak = placeBox("CheckStreak", {600, 1440, 255, 195});
    placeLabel("Label2", "Frog Clears screen when Jumping", {960, 1440, 2895, 255});
    CheckSnd = placeBox("CheckSnd", {600, 2040, 255, 195});
    placeLabel("Label3", "Sound", {960, 2040, 1935, 255});
    CheckBlank = placeBox("CheckBlank", {600, 2640, 255, 195});
    placeLabel("Label4", "Blank Screen", {960, 2640, 1935, 255});
}

void FrogSet::placeSpeedBar()
{
    placeLabel("Label11", "Value", {840, 3000, 855, 255});
    Label12 = placeLabel("Label12", QString(), {2040, 3000, 495, 315});
    Label12->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    HScroll1 = place(new QScrollBar(Qt::Horizontal, this), "HScroll1", {360, 3360, 2295, 255});
    HScroll1->setRange(0, MaxSpeed);
    HScroll1->setSingleStep(10);
    HScroll1->setPageStep(30);
    // The wheel moves the bar as the keys do, down towards "Slower", as on
    // any horizontal bar of the desktop (Qt's default, kept explicit: not
    // inverted, a wheel turned down would move the bar left). Qt would keep
    // the bar out of the tab order; without tracking, the value is committed
    // only when a drag ends.
    HScroll1->setInvertedControls(true);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setTracking(false);
    HScroll1->installEventFilter(this);
    Label13 = placeLabel("Label13", Legend, {360, 3720, 2295, 255});
}

QCheckBox* FrogSet::placeBox(const char* name, const TwipsRect& twips)
{
    auto* box = place(new QCheckBox(this), name, twips);
    // The style's square may be larger than the box; keep it whole.
    const int side = std::min(box->width(), box->height());
    box->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }")
                           .arg(side));
    return box;
}

QLabel* FrogSet::placeLabel(const char* name, const QString& text, const TwipsRect& twips)
{
    auto* label = place(new QLabel(text, this), name, twips);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The rectangles were drawn for a smaller, narrower font than today's
// desktop default: shrink it until the texts fit, and narrow the legend's
// blanks so that "Slower" still ends at the bar's right end.
void FrogSet::fitTexts()
{
    QList<QLabel*> labels = findChildren<QLabel*>();
    labels.removeOne(Label13);
    setFont(fontFittingLabels(font(), labels));
    Label13->setFont(squeezeBlanks(font(), Legend, Label13->width()));
}

QCheckBox* FrogSet::boxFor(const StoredSetting& option) const
{
    return findChild<QCheckBox*>(QLatin1String(option.checkBox));
}

void FrogSet::Form_Load()
{
    // Checking Blank is a change of state, so the blank rule runs here; Blank
    // comes last, so the boxes it clears stay cleared.
    for (const StoredSetting& option : storedFlags())
        boxFor(option)->setChecked(SaverSettings.*option.field != 0);
    HScroll1->setValue(SaverSettings.Speed);
    Label12->setText(QString::number(SaverSettings.Speed));
}

void FrogSet::HScroll1_Change(int value)
{
    Label12->setText(QString::number(value));
}

bool FrogSet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == HScroll1 && event->type() == QEvent::KeyPress)
        return HScroll1_KeyDown(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

// Keys move the bar as on any horizontal bar of the desktop: Right, Down,
// Page Down and End towards "Slower" (larger values), the others towards
// "Faster". Qt's own keys disagree with each other (Up adds, Page Down
// subtracts), so all eight are handled here.
bool FrogSet::HScroll1_KeyDown(int key)
{
    using Slider = QAbstractSlider;
    static constexpr std::pair<int, Slider::SliderAction> Moves[] = {
        {Qt::Key_Right, Slider::SliderSingleStepAdd}, {Qt::Key_Left, Slider::SliderSingleStepSub},
        {Qt::Key_Down, Slider::SliderSingleStepAdd},  {Qt::Key_Up, Slider::SliderSingleStepSub},
        {Qt::Key_PageDown, Slider::SliderPageStepAdd}, {Qt::Key_PageUp, Slider::SliderPageStepSub},
        {Qt::Key_End, Slider::SliderToMaximum},       {Qt::Key_Home, Slider::SliderToMinimum},
    };
    const auto move = std::ranges::find(Moves, key, &std::pair<int, Slider::SliderAction>::first);
    if (move == std::end(Moves))
        return false;
    HScroll1->triggerAction(move->second);
    return true;
}

void FrogSet::CheckBlank_Click()
{
    // A blank screen has nothing to clear, so the clearing options go. Boxes
    // unchecked here stay unchecked when Blank is turned off again.
    if (CheckBlank->isChecked()) {
        CheckHole->setChecked(false);
        CheckHole->setEnabled(false);
        CheckStreak->setChecked(false);
        CheckStreak->setEnabled(false);
    } else {
        CheckHole->setEnabled(true);
        CheckStreak->setEnabled(true);
    }
}

void FrogSet::CmdOK_Click()
{
    for (const StoredSetting& option : storedFlags())
        SaverSettings.*option.field = boxFor(option)->isChecked() ? -1 : 0;
    SaverSettings.Speed = std::int16_t(HScroll1->value());
    SaveSettings(platform_, SaverSettings);
    accept();
}

void FrogSet::CmdCancel_Click()
{
    reject();
}
