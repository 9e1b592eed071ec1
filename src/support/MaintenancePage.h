#pragma once
// The administrator's data maintenance page: backup and restore, the books
// check, and lists brought in from spreadsheets.

#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
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
    QGroupBox *GroupBox3;
    // "导入客户", "导入货品", "导入客户报价", "导入其它应收款"
    QList<QPushButton *> ImportButtons;
    QGroupBox *GroupBox4;
    QPushButton *JournalButton;   // "修改记录"
    void JournalClick();
};
