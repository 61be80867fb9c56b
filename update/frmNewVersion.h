// The window that tells the user a newer version is on the maker's site.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmNewVersion;
}

namespace corpo {

class frmNewVersion : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString localVersion READ localVersion WRITE setLocalVersion)
    Q_PROPERTY(QString remoteVersion READ remoteVersion WRITE setRemoteVersion)
public:
    explicit frmNewVersion(QWidget* parent = nullptr);
    ~frmNewVersion() override;

    QString localVersion() const { return localVersion_; }
    void setLocalVersion(const QString& v) { localVersion_ = v; }
    QString remoteVersion() const { return remoteVersion_; }
    void setRemoteVersion(const QString& v) { remoteVersion_ = v; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void lbURL_Click();

    std::unique_ptr<Ui::frmNewVersion> ui;
    QString localVersion_;
    QString remoteVersion_;
};

} // namespace corpo
