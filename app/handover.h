// The message a later copy sends the running one over the instance socket:
// "activate\n", or "open <n>\n" followed by the n bytes of an absolute path
// in UTF-8. The length frames the path, so any path (newlines included)
// arrives exactly as sent, and bounds what the running copy ever reads.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corpo {

// Linux paths are at most 4096 bytes; a longer one names no file.
inline constexpr int MaxPathBytes = 4096;
// The longest message: "open 4096\n" and the path.
inline constexpr int MaxHandOverBytes = 10 + MaxPathBytes;

// The message asking the running copy to come forward and open file (nothing
// to open when file is empty). Empty when the path is too long to be sent.
QByteArray HandOverMessage(const QString& file);

struct HandOver {
    enum Kind {
        Incomplete, // the start of a message: wait for the rest
        Refused,    // anything else: drop the sender
        Activate,
        Open,
    } kind = Incomplete;
    QString file; // Open only
};
// What the bytes received so far ask for.
HandOver ParseHandOver(QByteArrayView bytes);

} // namespace corpo
