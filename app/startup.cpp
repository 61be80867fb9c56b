#include "app/startup.h"
#include "app/corpo.h"
#include "app/shell.h"
#include <QApplication>
namespace corpo {
int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    Edizione = QStringLiteral("Freeware");
    PercorsoApp = AppFolder();
    return 0;
}
} // namespace corpo
