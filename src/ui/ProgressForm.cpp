#include "ui/ProgressForm.h"

#include <QProgressBar>

TFormProgress *FormProgress = nullptr;

TFormProgress::TFormProgress(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(QStringLiteral("FormProgress"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    setFixedSize(461, 118);
    // It only shows how far the work is: the window the user was in stays the active one.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(42, 42, 377, 33);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void TFormProgress::SetPosition(int position)
{
    ProgressBar1->setValue(position);
    if (isVisible())
        ProgressBar1->repaint();
}
