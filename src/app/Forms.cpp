#include "app/Forms.h"

#include "bills/BillForm.h"
#include "bills/BillForm2.h"
#include "bills/BuySellForm.h"
#include "bills/GetPayForm.h"
#include "bills/ProductForm2.h"
#include "masterdata/AccountForm.h"
#include "masterdata/CustomerForm3.h"
#include "masterdata/CustomerForm4.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/CustomerForm2.h"
#include "masterdata/ProductForm.h"
#include "masterdata/SGForm.h"
#include "reports/MakeReportForm.h"
#include "ui/AskForm.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "ui/ProgressForm.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "support/BooksAuditForm.h"
#include "support/OnlineChatForm.h"

void CreateForms()
{
    // The session first (the main window keeps it), the main window (it sets
    // the paths), the data module.
    Session = new TSession;
    FormMain = new TFormMain;
    ShareDataModule = new TShareDataModule;
    QObject::connect(ShareDataModule, &TShareDataModule::ChangedElsewhere, FormMain, &TFormMain::BooksChangedElsewhere);
    FormLogin = new TFormLogin(FormMain);
    FormBill = new TFormBill(FormMain);
    FormBuySell = new TFormBuySell(FormMain);
    FormGetPay = new TFormGetPay(FormMain);
    FormAsk = new TFormAsk(FormMain);
    FormProduct = new TFormProduct(FormMain);
    FormAccount = new TFormAccount(FormMain);
    FormProduct2 = new TFormProduct2(FormMain);
    FormBill2 = new TFormBill2(FormMain);
    FormCustomer = new TFormCustomer(FormMain);
    FormCustomer2 = new TFormCustomer2(FormMain);
    FormCustomer3 = new TFormCustomer3(FormMain);
    FormProgress = new TFormProgress(FormMain);
    FormSG = new TFormSG(FormMain);
    FormCustomer4 = new TFormCustomer4(FormMain);
    FormOnlineChat = new TFormOnlineChat(FormMain);
    FormBooksAudit = new TFormBooksAudit(FormMain);
    FormMakeReport = new TFormMakeReport(FormMain);
}

void DestroyForms()
{
    delete ShareDataModule;
    ShareDataModule = nullptr;
    delete FormMain; // owns the dialogs
    FormMain = nullptr;
    delete Session;
    Session = nullptr;
    FormLogin = nullptr;
    FormBill = nullptr;
    FormBuySell = nullptr;
    FormGetPay = nullptr;
    FormProduct2 = nullptr;
    FormBill2 = nullptr;
    FormCustomer3 = nullptr;
    FormCustomer4 = nullptr;
    FormAsk = nullptr;
    FormProduct = nullptr;
    FormAccount = nullptr;
    FormCustomer = nullptr;
    FormCustomer2 = nullptr;
    FormProgress = nullptr;
    FormSG = nullptr;
    FormOnlineChat = nullptr;
    FormBooksAudit = nullptr;
    FormMakeReport = nullptr;
}
