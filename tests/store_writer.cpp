// Test helper: writes COUNT keys PREFIX0..PREFIX<COUNT-1> into the store at
// PATH, one store operation each, so tests can run writers side by side.
#include "platform/IniStore.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: store_writer PATH PREFIX COUNT\n");
        return 2;
    }
    platform::IniStore store(QString::fromLocal8Bit(argv[1]));
    const int count = std::stoi(argv[3]);
    for (int i = 0; i < count; ++i)
        if (!store.write("Lilywade", "Startup", argv[2] + std::to_string(i), std::to_string(i)))
            return 1;
    return 0;
}
