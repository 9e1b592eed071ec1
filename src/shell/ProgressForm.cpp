#include "shell/ProgressForm.h"

#include <QProgressBar>

TFormProgress *FormProgress = nullptr;

TFormProgress::TFormProgress(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(QStringLiteral("FormProgress"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    setFixedSize(461, 118);
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
