#include "shell/Forms.h"

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
    FormProgress = new TFormProgress(FormMain);
}

void DestroyForms()
{
    delete ShareDataModule;
    ShareDataModule = nullptr;
    delete FormMain; // owns the dialogs
    FormMain = nullptr;
    FormLogin = nullptr;
    FormAsk = nullptr;
    FormProgress = nullptr;
}
