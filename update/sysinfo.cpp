#include "update/sysinfo.h"

#include <QProcess>
#include <QStandardPaths>

#include <array>

namespace corpo {

namespace {

struct KnownTool {
    const char* desktop; // as XDG_CURRENT_DESKTOP names it
    const char* program;
    const char* argument; // nullptr: none
};

// In the order they are tried when the desktop has none of its own.
constexpr std::array<KnownTool, 4> KnownTools{{
    {"GNOME", "gnome-control-center", "info-overview"},
    {"KDE", "kinfocenter", nullptr},
    {"XFCE", "xfce4-about", nullptr},
    {nullptr, "hardinfo", nullptr},
}};

std::optional<SysInfoTool> Locate(const KnownTool& tool) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool.program));
    if (path.isEmpty())
        return std::nullopt;
    SysInfoTool found{path, {}};
    if (tool.argument)
        found.arguments << QString::fromLatin1(tool.argument);
    return found;
}

} // namespace

std::optional<SysInfoTool> FindSysInfoTool(const QString& currentDesktops) {
    const QStringList desktops = currentDesktops.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const KnownTool& tool : KnownTools) {
            if (tool.desktop &&
                desktop.trimmed().compare(QLatin1String(tool.desktop), Qt::CaseInsensitive) == 0) {
                if (std::optional<SysInfoTool> found = Locate(tool))
                    return found;
            }
        }
    }
    for (const KnownTool& tool : KnownTools) {
        if (std::optional<SysInfoTool> found = Locate(tool))
            return found;
    }
    return std::nullopt;
}

bool LaunchSysInfo() {
    const std::optional<SysInfoTool> tool =
        FindSysInfoTool(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!tool)
        return false;
    return QProcess::startDetached(tool->program, tool->arguments);
}

} // namespace corpo
