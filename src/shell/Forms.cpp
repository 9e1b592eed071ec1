#include "shell/Forms.h"

#include "masterdata/AccountForm.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/CustomerForm2.h"
#include "masterdata/ProductForm.h"
#include "masterdata/SGForm.h"
#include "shell/AskForm.h"
#include "shell/LoginForm.h"
#include "shell/MainForm.h"
#include "shell/ProgressForm.h"
#include "shell/ShareDM.h"

void CreateForms()
{
    // The main window first (it sets the paths), the data module second.
    FormMain = new TFormMain;
    ShareDataModule = new TShareDataModule;
    FormLogin = new TFormLogin(FormMain);
    FormAsk = new TFormAsk(FormMain);
    FormProduct = new TFormProduct(FormMain);
    FormAccount = new TFormAccount(FormMain);
    FormCustomer = new TFormCustomer(FormMain);
    FormCustomer2 = new TFormCustomer2(FormMain);
    FormProgress = new TFormProgress(FormMain);
    FormSG = new TFormSG(FormMain);
}

void DestroyForms()
{
    delete ShareDataModule;
    ShareDataModule = nullptr;
    delete FormMain; // owns the dialogs
    FormMain = nullptr;
    FormLogin = nullptr;
    FormAsk = nullptr;
    FormProduct = nullptr;
    FormAccount = nullptr;
    FormCustomer = nullptr;
    FormCustomer2 = nullptr;
    FormProgress = nullptr;
    FormSG = nullptr;
}
