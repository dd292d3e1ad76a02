#include "platform/linux/ProgramModule.h"
#include "platform/linux/LinuxPlatform.h"

#include <dlfcn.h>

namespace platform {

void* programModuleEntry(const char* file, const char* entry, std::string& error)
{
    const std::string path = programFolder() + '/' + file;
    // Every symbol bound now: a module that does not fit the program fails
    // here, not at its first call.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* address = module ? dlsym(module, entry) : nullptr;
    if (!address)
        error = dlerror();
    return address;
}

} // namespace platform
