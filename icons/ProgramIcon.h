#pragma once
// The program's icon for the windows a desktop lists in its task bar.

#include <QIcon>

/** The red-and-blue frog at 32 x 32 and 128 x 128. */
QIcon programIcon();
