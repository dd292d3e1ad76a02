// lilywade-host: tries Lilywade.scr in all three modes, as a desktop's
// screen-saver settings page would run it.
#include "HostWindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    // Only the preview area needs an X window of its own.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    HostWindow window(QDir(QCoreApplication::applicationDirPath()).filePath("Lilywade.scr"));
    window.show();
    window.startPreview();
    return QApplication::exec();
}
