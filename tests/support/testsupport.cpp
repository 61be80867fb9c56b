#include "tests/support/testsupport.h"

#include "app/fileio.h"
#include "printing/pageproperties.h"
#include "printing/pagerender.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>
#include <QtWidgets>

namespace testsupport {

QString builtAppFolder() { return qEnvironmentVariable("BRAMA_APP_DIR") + QLatin1Char('/'); }
QString sourceFolder() { return qEnvironmentVariable("BRAMA_SOURCE_DIR") + QLatin1Char('/'); }

AppFolder::AppFolder(bool withShippedFiles) : previous_(qgetenv("BRAMA_PROGRAM_FOLDER")) {
    qputenv("BRAMA_PROGRAM_FOLDER", path().toLocal8Bit());
    if (!withShippedFiles)
        return;
    for (const QString sub : {"", "images/"}) { // what ships beside the program, not itself
        QDir().mkpath(path() + sub);
        for (const QFileInfo& f : QDir(builtAppFolder() + sub).entryInfoList(QDir::Files))
            if (!f.isExecutable())
                QFile::copy(f.filePath(), path() + sub + f.fileName());
    }
}

AppFolder::~AppFolder() { qputenv("BRAMA_PROGRAM_FOLDER", previous_); }

QString AppFolder::path() const { return dir_.path() + QLatin1Char('/'); }

void AppFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.fileName()));
    f.write(bytes);
}

void CloseNextModal(QObject* context, QString* name) {
    QTimer::singleShot(100, context, [name] {
        if (QWidget* w = QApplication::activeModalWidget())
            *name = w->objectName(), w->close();
    });
}

QByteArray AppFolder::read(const QString& name) const {
    return corpo::ReadSmallFile(file(name), qint64(1) << 30, nullptr).value_or(QByteArray());
}

namespace {
// The first line where two snapshots differ in text, in a number's decimals
// or by 0.01 or more in a number; empty when they agree.
QString GoldenDifference(const QString& expected, const QString& actual) {
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?")),
        digit(QStringLiteral("\\d"));
    const auto shape = [](QString s) {
        return s.replace(number, QStringLiteral("#\\1")).replace(digit, QStringLiteral("0"));
    };
    const QStringList want = expected.trimmed().split(QLatin1Char('\n'));
    const QStringList got = actual.trimmed().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QString w = want.value(i), g = got.value(i);
        // The same text around the same count of numbers, each within 0.01.
        bool same = shape(w) == shape(g);
        for (auto a = number.globalMatch(w), b = number.globalMatch(g); same && a.hasNext();)
            same = qAbs(a.next().captured().toDouble() - b.next().captured().toDouble()) < 0.01;
        if (!same)
            return QStringLiteral("line %1\n  expected: %2\n  actual:   %3").arg(i + 1).arg(w, g);
    }
    return {};
}

// `actual` against the text snapshot at `path`, written first with BRAMA_REGEN_GOLDEN set.
void CheckGoldenText(const QString& path, const QString& actual) {
    if (qEnvironmentVariableIsSet("BRAMA_REGEN_GOLDEN"))
        QVERIFY(corpo::WriteFileAtomically(sourceFolder() + path, actual.toUtf8(), nullptr));
    QFile f(sourceFolder() + path);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
    const QString difference = GoldenDifference(QString::fromUtf8(f.readAll()), actual);
    QVERIFY2(difference.isEmpty(), qPrintable(path + QStringLiteral(": ") + difference));
}

// What the user reads on or set in one control, then the rows of its table, list or choices.
QStringList Value(const QWidget* w) {
    QStringList out;
    for (const QByteArray& name :
         QByteArray("accessibleName accessibleDescription toolTip title text plainText checked "
                    "currentIndex value minimum maximum minimumDate maximumDate displayFormat "
                    "maxLength readOnly wordWrap default autoDefault sortingEnabled calendarPopup "
                    "colore focusPolicy")
             .split(' '))
        if (QString v = w->property(name.constData()).toString(); !v.isEmpty())
            out << QString::fromLatin1(name) + '=' + v.replace('\n', "\\n");
    out << QString("font %1%2%3")
               .arg(w->font().pointSizeF())
               .arg(w->font().bold() ? " bold" : "", w->font().underline() ? " underline" : "");
    if (auto* l = qobject_cast<const QLabel*>(w); l && l->buddy())
        out << "buddy=" + l->buddy()->objectName();
    if (auto* l = qobject_cast<const QLabel*>(w); l && !l->pixmap().isNull())
        out << QString("picture %1x%2").arg(l->pixmap().width()).arg(l->pixmap().height());
    if (auto* table = qobject_cast<const QTableView*>(w)) // the column it is sorted by
        out << QString("sorted %1%2")
                   .arg(table->horizontalHeader()->sortIndicatorSection())
                   .arg(table->verticalHeader()->isVisibleTo(table) ? ", rows numbered" : "");
    const auto* view = qobject_cast<const QAbstractItemView*>(w);
    const auto* combo = qobject_cast<const QComboBox*>(w);
    const QAbstractItemModel* m = view ? view->model() : combo ? combo->model() : nullptr;
    for (int r = -1; m && r < m->rowCount(); ++r) {
        QStringList cells;
        // A cell's text, its colour, alignment, bold, what is said (the header row has no index).
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex i = m->index(r, c);
            const QVariant bg = i.data(Qt::BackgroundRole), align = i.data(Qt::TextAlignmentRole);
            const auto role = [&](int role) {
                return (r < 0 ? m->headerData(c, Qt::Horizontal, role) : i.data(role)).toString();
            };
            const QString shown = role(Qt::DisplayRole), said = role(Qt::AccessibleTextRole);
            cells << shown + (bg.isValid() ? " " + bg.value<QBrush>().color().name() : "") +
                         (align.isValid() ? " @" + QString::number(align.toInt(), 16) : "") +
                         (i.data(Qt::FontRole).value<QFont>().bold() ? " bold" : "") +
                         (said.isEmpty() || said == shown ? "" : " said " + said);
        }
        out << "\n  " + cells.join('|').replace('\n', ' ');
    }
    return out;
}

// Every sheet of the jobs as it comes on paper, 2 pixels a millimetre, one under another.
QImage Paper(const QList<corpo::RecordedJob>& jobs) {
    int sheets = 0;
    for (const corpo::RecordedJob& job : jobs)
        sheets += job.pages;
    const double k = 2 * corpo::scale::MmPerInch / corpo::RenderDpi, sheet = 594 / k; // 2 px a mm
    QImage paper(420, 594 * sheets, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter p(&paper);
    p.scale(k, k);
    for (const corpo::RecordedJob& job : jobs) {
        corpo::RenderJob(p, job, [&] { return p.translate(0, sheet), true; });
        p.translate(0, sheet);
    }
    return paper;
}

} // namespace

void CheckGoldenImage(const QString& path, const QImage& actual) {
    const QString file = sourceFolder() + path;
    if (qEnvironmentVariableIsSet("BRAMA_REGEN_GOLDEN"))
        QVERIFY(actual.save(file));
    const QImage want = QImage(file).convertToFormat(QImage::Format_RGB32);
    int wrong = want.size() == actual.size() ? 0 : -1;
    for (int y = 0; wrong >= 0 && y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = want.pixel(x, y), b = actual.pixel(x, y);
            wrong += std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                               qAbs(qBlue(a) - qBlue(b))}) > 48;
        }
    if (wrong != 0)
        actual.save(QCoreApplication::applicationDirPath() + "/" + QFileInfo(path).fileName());
    QVERIFY2(wrong == 0, qPrintable(QString("%1: %2 pixels differ").arg(path).arg(wrong)));
}

void CheckGoldenWindow(const QString& path, const QWidget* window) {
    const QRect at = window->geometry(); // where on the screen, and whether the user may resize it
    const bool fixed = window->minimumSize() == window->maximumSize();
    QString actual =
        window->windowTitle() + QString::asprintf(" %dx%d at %d,%d%s\n", at.width(), at.height(),
                                                  at.x(), at.y(), fixed ? " fixed" : "");
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || w->window() != window)
            continue;
        const QPoint at = w->mapTo(window, QPoint());
        const QPalette set = w->palette();
        QStringList line{
            w->metaObject()->className(),
            w->objectName(),
            QString("%1,%2 %3x%4").arg(at.x()).arg(at.y()).arg(w->width()).arg(w->height()),
            w->isVisibleTo(window) ? "" : "hidden",
            w->isEnabled() ? "" : "disabled",
            window->focusWidget() == w ? "focus" : "",
            w->testAttribute(Qt::WA_SetPalette)
                ? set.color(w->backgroundRole()).name() + set.color(w->foregroundRole()).name()
                : ""};
        if (QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(const_cast<QWidget*>(w)))
            line << QString("role %1%2")
                        .arg(QMetaEnum::fromType<QAccessible::Role>().valueToKey(a->role()),
                             a->state().invisible ? " invisible" : "");
        line.removeAll(QString());
        actual += (line + Value(w)).join(" ; ").replace(" ; \n", "\n") + '\n';
    }
    CheckGoldenText(path, actual);
}

void CheckGolden(const QString& path, const QList<corpo::RecordedJob>& jobs) {
    QString actual;
    for (const corpo::RecordedJob& job : jobs)
        actual += job.describe() + QLatin1Char('\n');
    CheckGoldenText(path, actual);
    CheckGoldenImage(QString(path).replace(".txt", ".png"), Paper(jobs));
}

} // namespace testsupport
