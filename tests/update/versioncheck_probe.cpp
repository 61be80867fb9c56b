// Runs one version check against the server named on the command line and
// says how many messages it showed. Used by the tests to watch what another
// process sends and how quickly it ends.
#include "app/messages.h"
#include "update/download.h"
#include "update/versioncheck.h"

#include <QApplication>
#include <QTextStream>

#include <thread>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    corpo::HostResolver resolver;
    if (args.contains(QStringLiteral("--hanging-lookup"))) {
        resolver = [](const QString&) {
            std::this_thread::sleep_for(std::chrono::seconds(30));
            return QList<QHostAddress>{};
        };
    }
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(args.at(1), args.at(2).toInt(), resolver);
    corpo::NewVersion();
    QTextStream(stdout) << "messages=" << script.messages().size() << Qt::endl;
    return 0;
}
