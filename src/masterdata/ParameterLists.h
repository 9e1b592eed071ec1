#pragma once
// The three bill parameter lists of the settings page: kinds, categories, vouchers.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

class TParameterLists : public QWidget {
    Q_OBJECT
public:
    explicit TParameterLists(QWidget *parent = nullptr);

    void LoadParameterList(int type);
    void AddParameterValue(int type);
    void ChangeParameterValue(int type);
    void DeleteParameterValue(int type);

    QLabel *Label4, *Label5, *Label6;
    QListWidget *ListBox1, *ListBox2, *ListBox3;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9;

    QListWidget *ListBox(int type) const;
};
