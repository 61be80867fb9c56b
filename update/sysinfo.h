// Finding and starting the desktop's system-information tool.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace corpo {

struct SysInfoTool {
    QString program; // full path
    QStringList arguments;
};

// The tool to start, looked up on PATH: first the one of the running
// desktop (any entry of the colon-separated desktop list), then any known
// tool. Nothing when none is installed.
std::optional<SysInfoTool> FindSysInfoTool(const QString& currentDesktops);

// Starts the tool found for the running desktop, detached; false when none
// is installed or it would not start.
bool LaunchSysInfo();

} // namespace corpo
