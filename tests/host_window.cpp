// A host window for the preview tests: a patterned top-level window with a
// patterned native child of the size given. Prints the child's X window id,
// then destroys the child on the input line "destroy" and ends at end of input.
#include <QApplication>
#include <QPainter>
#include <QSocketNotifier>
#include <QTextStream>
#include <QWidget>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

// Stripes in colours the preview still does not use, so that any pixel the
// preview should not touch shows when it changes.
class Patterned : public QWidget {
public:
    Patterned(QColor a, QColor b, QWidget* parent = nullptr) : QWidget(parent), a_(a), b_(b) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int x = -height(); x < width(); x += 6)
            for (int i = 0; i < 2; ++i)
                painter.fillRect(QRect(x + 3 * i, 0, 3, height()), i ? b_ : a_);
    }

private:
    QColor a_, b_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: host_window WIDTH HEIGHT\n");
        return 2;
    }
    Patterned top(QColor(30, 90, 200), QColor(240, 220, 40));
    top.setWindowTitle(QStringLiteral("test host"));
    top.setGeometry(40, 30, 320, 240);
    auto* area = new Patterned(QColor(20, 160, 60), QColor(250, 250, 250), &top);
    area->setAttribute(Qt::WA_NativeWindow);
    area->setGeometry(24, 16, std::stoi(argv[1]), std::stoi(argv[2]));
    top.show();
    std::printf("%llu\n", static_cast<unsigned long long>(area->winId()));
    std::fflush(stdout);

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            QCoreApplication::exit(0);
            return;
        }
        if (line == "destroy") {
            delete area;
            area = nullptr;
        }
    });
    return QApplication::exec();
}
