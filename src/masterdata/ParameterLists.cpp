#include "masterdata/ParameterLists.h"

#include "ui/AskForm.h"
#include "ui/Dialogs.h"
#include "stores/ParameterStore.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
struct TypeTexts {
    const char *caption, *loadFailure, *addPrompt, *changePrompt, *empty, *duplicate, *noneToChange, *noneToDelete;
};

const TypeTexts texts[3] = {
    {"收支种类", "读入帐款收支种类失败", "请输入种类的名称", "请输入种类的名称", "种类名不能为空", "存在同名的种类，请改名",
     "请先选中要修改的种类", "请先选中要删除的种类"},
    {"款项类别", "读入帐款类别失败", "请输入新类别的名称", "请输入类别的名称", "类别名不能为空", "存在同名的类别，请改名",
     "请先选中要修改的类别", "请先选中要删除的类别"},
    {"凭证", "读入帐款类别失败", "请输入新凭证的名称", "请输入凭证的名称", "凭证名不能为空", "存在同名的凭证，请改名",
     "请先选中要修改的凭证", "请先选中要删除的凭证"},
};

const TypeTexts &Texts(int type) { return texts[type - 1]; }
QString T(const char *text) { return QString::fromUtf8(text); }

bool AskValue(const QString &prompt, const QString &initial, QString &value)
{
    return AskForText(QStringLiteral("参数设置"), prompt, initial, value);
}
} // namespace

TParameterLists::TParameterLists(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ParameterLists"));
    QLabel **labels[3] = {&Label4, &Label5, &Label6};
    QListWidget **lists[3] = {&ListBox1, &ListBox2, &ListBox3};
    QPushButton **buttons[9] = {&Button1, &Button2, &Button3, &Button4, &Button5, &Button6, &Button7, &Button8, &Button9};
    const char *captions[3] = {"新增", "修改", "删除"};
    for (int t = 0; t < 3; ++t) {
        const int x = 24 + t * 206;
        auto *label = new QLabel(T(texts[t].caption), this);
        label->setObjectName(QStringLiteral("Label%1").arg(t + 4));
        label->setGeometry(x, 0, 190, 22);
        label->setStyleSheet(QStringLiteral("color: red;"));
        *labels[t] = label;
        auto *list = new QListWidget(this);
        list->setObjectName(QStringLiteral("ListBox%1").arg(t + 1));
        list->setGeometry(x, 24, 190, 230);
        *lists[t] = list;
        const int type = t + 1;
        connect(list, &QListWidget::itemDoubleClicked, this, [this, type] { ChangeParameterValue(type); });
        for (int b = 0; b < 3; ++b) {
            auto *button = new QPushButton(T(captions[b]), this);
            button->setObjectName(QStringLiteral("Button%1").arg(t * 3 + b + 1));
            button->setGeometry(x + b * 65, 262, 60, 28);
            *buttons[t * 3 + b] = button;
        }
        connect(*buttons[t * 3], &QPushButton::clicked, this, [this, type] { AddParameterValue(type); });
        connect(*buttons[t * 3 + 1], &QPushButton::clicked, this, [this, type] { ChangeParameterValue(type); });
        connect(*buttons[t * 3 + 2], &QPushButton::clicked, this, [this, type] { DeleteParameterValue(type); });
    }
}

QListWidget *TParameterLists::ListBox(int type) const
{
    return type == 1 ? ListBox1 : type == 2 ? ListBox2 : ListBox3;
}

void TParameterLists::LoadParameterList(int type)
{
    QListWidget *list = ListBox(type);
    list->clear();
    QStringList values;
    if (!TParameterStore::Values(type, values, T(Texts(type).loadFailure)))
        return;
    list->addItems(values);
    if (list->count() > 0)
        list->setCurrentRow(list->count() - 1);
}

void TParameterLists::AddParameterValue(int type)
{
    QString value;
    if (!AskValue(T(Texts(type).addPrompt), QString(), value))
        return;
    if (value.isEmpty()) {
        Dialogs::ShowMessage(T(Texts(type).empty));
        return;
    }
    const int existing = TParameterStore::IndexOf(type, value);
    if (existing < 0)
        return;
    if (existing > 0) {
        Dialogs::ShowMessage(T(Texts(type).duplicate));
        return;
    }
    if (TParameterStore::Add(type, value) == 0)
        return;
    LoadParameterList(type);
}

void TParameterLists::ChangeParameterValue(int type)
{
    QListWidget *list = ListBox(type);
    QListWidgetItem *selected = list->currentItem();
    if (!selected || !selected->isSelected()) {
        Dialogs::ShowMessage(T(Texts(type).noneToChange));
        list->setFocus();
        return;
    }
    const QString old = selected->text();
    QString value;
    if (!AskValue(T(Texts(type).changePrompt), old, value))
        return;
    if (value.isEmpty()) {
        Dialogs::ShowMessage(T(Texts(type).empty));
        return;
    }
    if (value == old)
        return;
    const int existing = TParameterStore::IndexOf(type, value);
    if (existing < 0)
        return;
    if (existing > 0) {
        Dialogs::ShowMessage(T(Texts(type).duplicate));
        return;
    }
    const int index = TParameterStore::IndexOf(type, old);
    if (index < 0)
        return;
    if (index == 0) {
        Dialogs::ShowMessage(QStringLiteral("该参数已经被删除"));
        return;
    }
    if (!TParameterStore::Change(index, value))
        return;
    LoadParameterList(type);
}

void TParameterLists::DeleteParameterValue(int type)
{
    QListWidget *list = ListBox(type);
    QListWidgetItem *selected = list->currentItem();
    if (!selected || !selected->isSelected()) {
        Dialogs::ShowMessage(T(Texts(type).noneToDelete));
        list->setFocus();
        return;
    }
    const int index = TParameterStore::IndexOf(type, selected->text());
    if (index < 0)
        return;
    if (index == 0) {
        Dialogs::ShowMessage(QStringLiteral("该记录已不存在"));
        return;
    }
    if (!Dialogs::AskYesNo(QStringLiteral("删除警告"), QStringLiteral("确实要删除该参数吗？")))
        return;
    if (!TParameterStore::Delete(index))
        return;
    LoadParameterList(type);
}
