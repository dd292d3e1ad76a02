#pragma once
// Shared objects beside the program file, loaded only when a mode or a
// setting needs them (the sound module, the widget module).

#include <string>

namespace platform {

/**
 * The address of entry in the module file from the program's folder, loaded
 * with every symbol bound at once and kept for the life of the process. Null
 * when it cannot be loaded; error then says why.
 */
void* programModuleEntry(const char* file, const char* entry, std::string& error);

} // namespace platform
