#include "shell/Form.h"

TForm::TForm(QWidget *parent) : QDialog(parent) {}

void TForm::CloseWithResult(int result)
{
    closeRequested_ = true;
    done(result);
}
