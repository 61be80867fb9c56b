// The About window: title, version, edition, the maker's page and the
// system-information tool.
#pragma once

#include <QDialog>
#include <QIcon>
#include <memory>

class QWidget;

namespace Ui {
class frmAbout;
}

namespace corpo {

// Opens the About window, modal over parent.
void ShowAbout(QWidget* parent);

// The program's icon, a bunch of grapes, at any size.
QIcon ProgramIcon();

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lbURL_Click();
    void StartSysInfo();

    std::unique_ptr<Ui::frmAbout> ui;
};

} // namespace corpo
