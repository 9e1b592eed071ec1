#pragma once
// The administrator's data maintenance page: backup and restore.

#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QToolButton;

class TMaintenancePage : public QWidget {
    Q_OBJECT
public:
    // The buttons run the main window's actions.
    TMaintenancePage(QAction *actionSave, QAction *actionLoad, QWidget *parent = nullptr);

    QGroupBox *GroupBox1;
    QToolButton *SpeedButtonSave;
    QToolButton *SpeedButtonLoad;
    QLabel *Label1;
    QGroupBox *GroupBox2;
    QToolButton *SpeedButtonAudit;   // "账簿检查"
    QAction *ActionBooksAudit;
    void ActionBooksAuditExecute();
};
