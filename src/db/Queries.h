#pragma once
// Reads of the books that say themselves why they failed: the message goes
// to the user through the notice seam, the caller gets false.

#include "core/SqlText.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class TQuery;

// Opens the query (paged: see TQuery::OpenPaged) with the values bound to its
// "?" marks; on a database error tells the failure message and gives false.
bool RunQuery(TQuery &query, const SqlText &sql, const QString &failureMessage, bool paged = false);
bool RunQuery(TQuery &query, const QString &sql, const QString &failureMessage, const QVariantList &params,
              bool paged = false);

// One column of the rows a read gives, as texts in the rows' order; false (and
// texts left alone) when the read failed, after the failure message was told.
bool ReadTexts(const QString &sql, const QVariantList &params, const QString &column, QStringList &texts,
               const QString &failureMessage);

// Finds the record a deletion is about, read by read (which says why it could not
// be read; "找不到要删除的记录" when it is gone), and asks "删除警告" with the
// question; true only for Yes, with the record on the query.
bool FindAndConfirmDeletion(TQuery &query, const std::function<bool(TQuery &)> &read,
                            const QString &question = QStringLiteral("确实要删除该记录吗？"));
