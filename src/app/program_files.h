#pragma once

#include <QIcon>
#include <QString>

namespace dorvel {

// The folder of the running program.
QString ProgramDir();

// Where the user's guide lies: beside the program, where the package
// installs it relative to the program, or where the build made it.
QString UserGuidePath(const QString& programDir = ProgramDir());

// The program's icon in every size of the icon theme that can be found:
// installed relative to the program, or where the build rendered them.
// Null when there is none.
QIcon ProgramIcon(const QString& programDir = ProgramDir());

}  // namespace dorvel
