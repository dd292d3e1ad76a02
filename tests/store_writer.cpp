// Test helper for the settings store.
//   store_writer PATH PREFIX COUNT   writes PREFIX0..PREFIX<COUNT-1> = 0..COUNT-1,
//                                    one store operation each
//   store_writer --check PATH PREFIX prints how many of PREFIX0, PREFIX1, ... are
//                                    stored in order; fails if a later key exists
//                                    without an earlier one or a value is wrong
#include "platform/IniStore.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>

namespace {

int write(const char* path, const std::string& prefix, int count)
{
    platform::IniStore store(QString::fromLocal8Bit(path));
    for (int i = 0; i < count; ++i)
        if (!store.write("Lilywade", "Startup", prefix + std::to_string(i), std::to_string(i)))
            return 1;
    return 0;
}

int check(const char* path, const std::string& prefix)
{
    platform::IniStore store(QString::fromLocal8Bit(path));
    auto value = [&](int i) { return store.read("Lilywade", "Startup", prefix + std::to_string(i), "-"); };
    int present = 0;
    while (value(present) == std::to_string(present))
        ++present;
    // A write is all or nothing and in order: nothing may follow a gap.
    for (int i = present; i < present + 50; ++i)
        if (value(i) != "-") {
            std::fprintf(stderr, "%s%d is %s after a gap at %d\n", prefix.c_str(), i,
                         value(i).c_str(), present);
            return 1;
        }
    std::printf("%d\n", present);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--check")
        return check(argv[2], argv[3]);
    if (argc == 4)
        return write(argv[1], argv[2], std::stoi(argv[3]));
    std::fprintf(stderr, "usage: store_writer PATH PREFIX COUNT | --check PATH PREFIX\n");
    return 2;
}
