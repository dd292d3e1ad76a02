// Fuzzes the settings store's file reader and writer with arbitrary file
// contents: reads never crash, and a write never loses a readable file.
#include "platform/IniStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/lilywade");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/settings.ini");
    const QByteArray contents(reinterpret_cast<const char*>(data), int(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            std::abort();
    }
    platform::IniStore store(path);
    for (const char* key : {"hole", "streak", "sound", "Blank", "Speed"})
        store.read("Lilywade", "startup", key, "0");

    const std::string before = store.read("Lilywade", "Startup", "Speed", "<none>");
    if (!store.write("Lilywade", "Startup", "Hole", "1"))
        std::abort();
    if (store.read("Lilywade", "startup", "hole", "0") != "1")
        std::abort();
    // What could be read before the write can still be read after it.
    if (store.read("Lilywade", "Startup", "Speed", "<none>") != before)
        std::abort();
    return 0;
}
