#pragma once
#include <QDialog>

class QProgressBar;

// Shown without waiting by the long reports; callers move the bar.
class TFormProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget *parent = nullptr);
    // Moves the bar and repaints it at once, without handling user input.
    void SetPosition(int position);

    QProgressBar *ProgressBar1;
};

extern TFormProgress *FormProgress;
