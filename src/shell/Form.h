#pragma once
// Base of the program's modal windows: the show logic runs before the window
// appears and may end the showing at once with a result.

#include <QDialog>

class QLineEdit;

// A password box that shows "#" for each typed character, or plain text again.
void SetPasswordEcho(QLineEdit *edit, bool on);

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget *parent = nullptr);

    // Called by Dialogs::ShowModal before the window is shown.
    virtual void FormShow() {}
    // From FormShow: close at once with this result, never entering the event loop.
    void CloseWithResult(int result);
    bool CloseRequested() const { return closeRequested_; }
    void ResetCloseRequest() { closeRequested_ = false; }
    // From FormShow: runs the record's Select on the first scratch query; when it
    // fails or finds nothing ("找不到要修改的记录") the showing ends with Cancel.
    bool LoadRecordOrClose(const QString &sql, const QString &failureMessage);

private:
    bool closeRequested_ = false;
};
