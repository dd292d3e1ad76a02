#include "HostWindow.h"

#include "icons/ProgramIcon.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The area a desktop's settings page lends to the saver's preview.
constexpr QSize PreviewSize{160, 120};

// The preview area sits in a dark bezel, like a small monitor.
QFrame* monitor(QWidget* screen)
{
    auto* bezel = new QFrame;
    bezel->setStyleSheet(QStringLiteral("QFrame { background: #3a3a3a; border-radius: 6px; }"));
    auto* layout = new QHBoxLayout(bezel);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(screen);
    return bezel;
}

} // namespace

HostWindow::HostWindow(QString program)
    : program_(std::move(program)), previewArea_(new QWidget), status_(new QLabel)
{
    setWindowTitle(QStringLiteral("Lilywade host"));
    setWindowIcon(programIcon());
    // A native window of its own: the program gets its id and puts its
    // picture inside. Closing the host destroys it, and the preview ends.
    previewArea_->setAttribute(Qt::WA_NativeWindow);
    previewArea_->setAttribute(Qt::WA_DontCreateNativeAncestors);
    previewArea_->setFixedSize(PreviewSize);
    previewArea_->setAutoFillBackground(true);
    previewArea_->setPalette(QPalette(Qt::black));

    auto* settings = new QPushButton(QStringLiteral("&Settings..."));
    auto* fullScreen = new QPushButton(QStringLiteral("&Preview full screen"));
    connect(settings, &QPushButton::clicked, this, &HostWindow::settingsClicked);
    connect(fullScreen, &QPushButton::clicked, this, &HostWindow::previewFullScreenClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(settings);
    buttons->addWidget(fullScreen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Screen saver: ") + QFileInfo(program_).fileName()));
    layout->addWidget(monitor(previewArea_), 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->addWidget(status_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void HostWindow::startPreview()
{
    run({QStringLiteral("/P"), QString::number(previewArea_->winId())});
}

void HostWindow::settingsClicked() { run({QStringLiteral("/C")}); }

void HostWindow::previewFullScreenClicked() { run({QStringLiteral("/S")}); }

void HostWindow::run(const QStringList& arguments)
{
    // Detached, as a desktop starts its savers: the host neither waits for
    // nor kills them; the preview ends by itself once its area is gone.
    const QString command =
        QFileInfo(program_).fileName() + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
    status_->setText(QProcess::startDetached(program_, arguments)
                         ? QStringLiteral("Started: ") + command
                         : QStringLiteral("Cannot start ") + program_);
}
