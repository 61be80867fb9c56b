#include "app/handover.h"

namespace corpo {

namespace {
constexpr QByteArrayView ActivateMessage("activate\n");
constexpr QByteArrayView OpenPrefix("open ");
} // namespace

QByteArray HandOverMessage(const QString& file) {
    if (file.isEmpty())
        return ActivateMessage.toByteArray();
    const QByteArray path = file.toUtf8();
    if (path.size() > MaxPathBytes)
        return {};
    return OpenPrefix.toByteArray() + QByteArray::number(path.size()) + '\n' + path;
}

HandOver ParseHandOver(QByteArrayView in) {
    if (in.size() <= ActivateMessage.size() && ActivateMessage.startsWith(in))
        return {in.size() == ActivateMessage.size() ? HandOver::Activate : HandOver::Incomplete,
                {}};
    if (in.size() <= OpenPrefix.size())
        return {OpenPrefix.startsWith(in) ? HandOver::Incomplete : HandOver::Refused, {}};
    if (!in.startsWith(OpenPrefix))
        return {HandOver::Refused, {}};
    // The length: decimal, no leading zero, 1..MaxPathBytes.
    qsizetype i = OpenPrefix.size();
    int length = 0;
    for (; i < in.size() && in[i] >= '0' && in[i] <= '9'; ++i) {
        length = length * 10 + (in[i] - '0');
        if (length == 0 || length > MaxPathBytes)
            return {HandOver::Refused, {}};
    }
    if (i == in.size())
        return {HandOver::Incomplete, {}};
    if (in[i] != '\n' || length == 0)
        return {HandOver::Refused, {}};
    const QByteArrayView path = in.sliced(i + 1);
    if (path.size() < length)
        return {HandOver::Incomplete, {}};
    if (path.size() > length)
        return {HandOver::Refused, {}};
    // Only what the sender wrote: valid UTF-8 (it survives the round trip)
    // naming an absolute path, since the two copies' working folders differ.
    const QString file = QString::fromUtf8(path);
    if (file.toUtf8() != path || !file.startsWith(QLatin1Char('/')))
        return {HandOver::Refused, {}};
    return {HandOver::Open, file};
}

} // namespace corpo
