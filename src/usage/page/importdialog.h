#pragma once
// "Import meter data": reads the chosen file on a worker thread and shows each
// meter and channel in it (interval length, first and last day, intervals,
// quality counts) with its role, which the user may change or set to "Leave
// out"; only then does "Import" store it, again on the worker thread with a
// progress bar. Cancel stops either step; a cancelled import stores nothing.
// A refused file shows the reader's message (file and line).

#include "meterdata/meterstore.h"
#include "mylib/locales.h"

#include <QDialog>
#include <map>
#include <memory>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTableWidget;
class QTimer;
class TMeterImportJob;

class TImportDialog : public QDialog {
public:
    // `roles` are the stored channels' roles (by meter and channel), kept unless changed.
    TImportDialog(QString path, QString databaseFile, MeterChannelRoles roles, TLocales locales,
                  QWidget* parent = nullptr);
    ~TImportDialog() override;

    // After the dialog was accepted: what was stored.
    const ImportResult& Result() const { return result_; }
    // The roles chosen, by meter and channel: a channel of one meter only.
    MeterChannelRoles Roles() const;
    QTableWidget* Table() const { return table_; }
    // Starts the import of the scanned file (as "Import" does).
    void StartImport();
    // Whether the worker has finished the present step.
    bool Busy() const;

    static QString QualityText(const std::map<char, qint64>& quality, const QLocale& locale);

private:
    void Start(int kind);
    void Poll();
    void ShowScan(const ImportResult& scan);
    void Failed(const QString& text);

    QString path_, databaseFile_;
    MeterChannelRoles stored_;
    TLocales locales_;
    std::unique_ptr<TMeterImportJob> job_;
    int kind_ = 0;
    qint64 total_ = 0;
    ImportResult result_;
    QLabel* status_;
    QProgressBar* progress_;
    QTableWidget* table_;
    QLabel* others_;
    QDialogButtonBox* buttons_;
    QTimer* timer_;
};
