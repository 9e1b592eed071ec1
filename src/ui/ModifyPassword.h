#pragma once
// The data-modification password, asked before a stored bill, customer,
// product or account is changed or deleted. Every caller asks with the same
// title and prompt.

#include <QString>

// Asks through the one-line password dialog; true when the typed text is the
// stored password (a wrong one, or a missing password row, is said and gives false).
bool AskModifyPassword(const QString &caption = QStringLiteral("修改密码"),
                       const QString &prompt = QStringLiteral("请输入资料修改密码"), const QString &initial = QString());
