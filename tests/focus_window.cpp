// Test tool: an ordinary application window that the user works in, to be
// clicked and typed into just before a screen saver starts. Maximized, so that
// a click anywhere on the first monitor below its top bar lands on it. Prints
// "active" once it is on screen with the keyboard, then "clicked" for each
// button press and "typed" for each key press it gets; runs until killed.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

namespace {

class FocusWindow : public QWidget {
protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            report("active");
    }
    void mousePressEvent(QMouseEvent*) override { report("clicked"); }
    void keyPressEvent(QKeyEvent*) override { report("typed"); }

private:
    static void report(const char* what)
    {
        std::printf("%s\n", what);
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    FocusWindow window;
    window.setWindowTitle(QStringLiteral("focus"));
    window.showMaximized();
    return application.exec();
}
