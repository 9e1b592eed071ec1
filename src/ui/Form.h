#pragma once
// Base of the program's modal windows: the show logic runs before the window
// appears and may end the showing at once with a result.

#include <QDialog>
#include <functional>

class QAbstractButton;
class QAction;
class QLineEdit;
class TQuery;

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
    // From FormShow: reads the record into the query (read says why it failed);
    // when it fails or finds nothing ("找不到要修改的记录") the showing ends with
    // Cancel. Otherwise the query stands on the record.
    bool LoadRecordOrClose(TQuery &record, const std::function<bool(TQuery &)> &read);

    // Keys. Enter on a focused button presses that button; Enter in a field
    // presses only a button made default on purpose (no push button becomes
    // default by itself), and Esc cancels. A data-entry window instead moves
    // Enter on to the next input and keeps its typing on Esc; a small dialog
    // may name the action Enter runs from any field.
    void SetDataEntry(bool on) { dataEntry_ = on; }
    void SetEnterAction(QAction *action) { enterAction_ = action; }
    // The inputs of a data-entry window in the order Enter walks them, and the
    // button that ends the walk: Enter on the last input moves to it (never back
    // to the first), and Ctrl+S presses it.
    void SetEntryOrder(const QList<QWidget *> &order, QAbstractButton *finish);
    // The next input after from in the tab order; buttons are passed over
    // (Enter presses a button only when the button has the focus).
    virtual QWidget *NextInput(QWidget *from) const;

    // 取消 or the close button on a window whose inputs changed since it was
    // shown asks this question first (default No); empty: never asks.
    void SetDiscardQuestion(const QString &question) { discardQuestion_ = question; }
    // What the inputs hold now counts as unchanged (run after the show logic).
    void MarkClean() { clean_ = InputState(); }
    bool InputsChanged() const { return InputState() != clean_; }
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Enter(QWidget *focus);
    QStringList InputState() const;

    bool closeRequested_ = false;
    bool dataEntry_ = false;
    QAction *enterAction_ = nullptr;
    QList<QWidget *> order_;
    QAbstractButton *finish_ = nullptr;
    QString discardQuestion_;
    QStringList clean_;
};
