#pragma once
// Where the books are, for the administrator: the server's address and login,
// a trial connection that says what failed, moving the books from the file to
// the server, and switching between the server's books and the file's. The
// window ends Accepted when the data source changed (the program then starts
// again on the new books).

#include "db/DataSource.h"
#include "ui/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFormServer : public TForm {
    Q_OBJECT
public:
    explicit TFormServer(QWidget *parent = nullptr);

    void FormShow() override;
    void TestClick();
    void MoveClick();
    void UseServerClick();
    void UseFileClick();

    QLabel *CurrentLabel;
    QLineEdit *HostEdit, *PortEdit, *DatabaseEdit, *UserEdit, *PasswordEdit;
    QPushButton *TestButton, *MoveButton, *UseServerButton, *UseFileButton, *CloseButton;

private:
    // The server as typed; false with the message shown when something is missing.
    bool Typed(TDataSource *source);
};
