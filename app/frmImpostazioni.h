// The settings window: print header and the listing's printer.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmImpostazioni;
}

namespace corpo {

// Opens the settings window, modal over parent.
void MostraImpostazioni(QWidget* parent);

class frmImpostazioni : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmImpostazioni> ui;

public:
    explicit frmImpostazioni(QWidget* parent = nullptr);
    ~frmImpostazioni() override;

    // The load: settings read, header shown, printers listed (with its messages).
    void carica();
    // The header as it will be saved: what was typed, without the placeholders.
    QString intestazione() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void cmdSalva_Click();
    void cmdUscita_Click();
};

} // namespace corpo
