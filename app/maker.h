// The maker's web site: the one place its address is written down.
#pragma once

#include "buildconfig.h"

#include <QString>
#include <QUrl>

namespace corpo {

namespace testing {
// While alive, the program behaves as a build that names `address` ("" for
// none): tests do not depend on the address a build was given.
class MakerAddressScope {
public:
    explicit MakerAddressScope(const QString& address) : address_(address), previous_(active()) {
        active() = this;
    }
    ~MakerAddressScope() { active() = previous_; }
    MakerAddressScope(const MakerAddressScope&) = delete;
    MakerAddressScope& operator=(const MakerAddressScope&) = delete;
    static MakerAddressScope*& active() {
        static MakerAddressScope* scope = nullptr;
        return scope;
    }
    const QString& address() const { return address_; }

private:
    const QString address_;
    MakerAddressScope* previous_;
};
} // namespace testing

// The maker's web address, chosen when building; empty when the build names
// none: then the papers print no address, the windows show no link and no
// version check is made. Nothing at run time changes it.
inline QString MakerAddress() {
    if (const testing::MakerAddressScope* scope = testing::MakerAddressScope::active())
        return scope->address();
    return QStringLiteral(BRAMA_MAKER_ADDRESS);
}

// Where the server keeps the current version, under the maker's address.
inline const QString VersionPath = QStringLiteral("/public/lotto/ver_vorlacco.asp");

// The maker's page that the About and new-version windows open; "" without an address.
inline QString MakerPage() {
    return MakerAddress().isEmpty() ? QString() : MakerAddress() + QStringLiteral("/lotto/");
}

// The address as the papers print it: the host alone, in capitals; "" without one.
inline QString PrintedAddress() { return QUrl(MakerAddress()).host().toUpper(); }

} // namespace corpo
