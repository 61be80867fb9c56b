#pragma once
namespace corpo {
// Asks the maker's site for the current version; shows frmNewVersion when newer.
void NewVersion();
} // namespace corpo
