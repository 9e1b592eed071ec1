#pragma once
// The main window frame: left bar, working date, the eight tab pages, and the
// login that decides which pages show.

#include <QDate>
#include <QWidget>

class QAction;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;
class TSettingsPage;
class TCustomerPage;
class TBillPage;
class TMoneyPage;
class TStorePage;
class TAccountPage;
class TReport;
class TMaintenancePage;
class TDataCentrePage;

enum LoginResult { LoginCancelled = 0, LoginRefused = 1, LoginAccepted = 2 };

class QTimer;

class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(QWidget *parent = nullptr);

    // First showing: registration on the first run, today's date, the login.
    // Returns false (and closes the window) when the login was not accepted.
    bool FormShow();
    void Image7Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void DateTimePicker1Change();
    int CheckLogin();
    void ActionLoginExecute();
    void LoadPasswords();
    // Refills the card pages and re-runs the data centre's search.
    void RefreshAllPages();
    QDate WorkingDate() const;
    // Backup and restore; a restore that replaced the books closes the window, ending the program.
    void ActionSaveExecute();
    void ActionLoadExecute();
    void ActionHomePageExecute();
    void ActionContactExecute();
    void ActionOnlineSellExecute();

    QWidget *Panel1;
    QWidget *Panel2;
    QWidget *Panel3;
    QToolButton *Login;
    QLabel *Label2;
    QDateEdit *DateTimePicker1;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QToolButton *HomePage;
    QToolButton *ActionButtonSave2;
    QToolButton *SpeedButton1;
    QToolButton *OnlineSell;
    QLabel *Image7;
    QTabWidget *PageControl1;
    TCustomerPage *TabSheet8;
    TBillPage *TabSheet1;
    TMoneyPage *TabSheet7;
    TStorePage *TabSheet2;
    TAccountPage *TabSheet3;
    TDataCentrePage *TabSheet4;
    TSettingsPage *TabSheet5;
    TMaintenancePage *TabSheet6;

    QAction *ActionLogin;
    QAction *ActionHomePage;
    QAction *ActionSave;
    QAction *ActionLoad;
    QAction *ActionContact;
    QAction *ActionOnlineSell;
    QAction *ActionDesign;
    QAction *ActionServer;
    // The main window's reports are prepared here; the designer opens on it.
    TReport *frReport1;
    void ActionDesignExecute();
    void ActionServerExecute();
    // Another counter wrote: the pages refresh soon, once no window or dialog is open over them.
    void BooksChangedElsewhere();

    void FillCustomerPage();
    void FillBillPage();
    void FillMoneyPage();
    void FillStorePage();
    void FillAccountPage();

    // The card pages' page numbers, 0-based.
    int FCustomerPage = 0;
    int FBillPage = 0;
    int FMoneyPage = 0;
    int FStorePage = 0;
    int FAccountPage = 0;

    int RefreshCount = 0;   // how many general refreshes ran

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void SetWorkingDate(const QDate &date);
    QPixmap BarPicture(const QString &file, bool leftBarShown) const;

    static constexpr int ElsewhereDelayMs = 300;
    static constexpr int ElsewhereRetryMs = 700;
    QTimer *elsewhereTimer_ = nullptr;
};

extern TFormMain *FormMain;
