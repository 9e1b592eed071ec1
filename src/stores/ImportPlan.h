#pragma once
// Customers, products, quotes or other receivables brought in from a
// spreadsheet. Widget-free: the columns are matched to the fields by their
// titles (and may be matched again by hand), every row is examined against the
// books before anything is written (新增, 更新 with what changes, 跳过, 有误 with
// why), and the rows to write are written through the stores in one
// transaction, all or nothing.

#include "sheets/SheetFile.h"
#include "stores/Customer.h"
#include "stores/OtherReceivable.h"
#include "stores/Product.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TImportPlan {
public:
    enum Kind { Customers, Products, Quotes, OtherReceivables };
    enum Outcome { Add, Update, Skip, Error };
    struct Field {
        QString title;
        QStringList titles;   // the column titles it is matched with, its own first
        bool asWritten = false;   // a text stored as written; the others are read trimmed
    };
    struct Row {
        int sheetRow = 0;
        Outcome outcome = Error;
        QString note;          // what changes, why it is skipped, what is wrong
        QStringList values;    // per field, as the sheet has it
    };

    TImportPlan(Kind kind, const TSheetFile &sheet);

    static QString KindName(Kind kind);   // 客户, 货品, 客户报价, 其它应收款
    static QString OutcomeName(Outcome outcome);
    Kind WhatKind() const { return kind_; }
    const QList<Field> &Fields() const { return fields_; }
    const TSheetFile &Sheet() const { return sheet_; }

    // The row holding the column titles, as an index into Sheet().rows: the
    // first of the sheet's first rows that names a field, else its first row.
    // The rows after it are the ones brought in.
    int TitleRow() const { return titleAt_; }
    // Takes another row for the titles and matches the columns to it again.
    void SetTitleRow(int at);
    // The title row's text in a sheet column.
    QString Title(int column) const;

    // The sheet column each field is read from; -1: not read.
    int ColumnOf(int field) const { return columns_.value(field, -1); }
    void SetColumn(int field, int column);
    // The sheet's columns that hold something but are read for no field.
    QList<int> UnusedColumns() const;

    // The three regions the books know, and values of 地区 the sheet holds
    // beyond them (found by Examine), each taken for one of the three when the
    // user says so, for every row holding it.
    static const QStringList &Regions();
    const QStringList &OtherRegions() const { return otherRegions_; }
    QString RegionFor(const QString &value) const;   // empty: not taken for any
    void MapRegion(const QString &value, const QString &region);
    // Whether records already in the books are changed by the sheet.
    bool UpdateExisting() const { return updateExisting_; }
    void SetUpdateExisting(bool update) { updateExisting_ = update; }

    // Reads the books and decides each row. False when the books could not be read.
    bool Examine();
    const QList<Row> &Rows() const { return rows_; }
    int Count(Outcome outcome) const;
    // Writes every 新增 and 更新 row, all in one transaction. False, nothing
    // written, when any of them fails (the store has said why).
    bool Apply(const std::function<void(int)> &progress = {});

private:
    struct Quote {
        int customer = 0, product = 0;
        double price = 0;
    };
    struct Write {
        Customer customer;
        Product product;
        Quote quote;
        OtherReceivable receivable;
    };

    QString Cell(int sheetRow, int field) const;
    void ExamineCustomers();
    void ExamineProducts();
    void ExamineQuotes();
    void ExamineReceivables();
    // Marks every row whose key another row of the sheet has too.
    void RefuseTwice(const QList<QString> &keys, const QString &what);
    Row &Decide(int at, const QStringList &changes, bool exists);

    void MatchColumns();

    Kind kind_;
    TSheetFile sheet_;
    QList<Field> fields_;
    int titleAt_ = 0;
    QList<int> columns_;
    QHash<QString, QString> regionMap_;
    QStringList otherRegions_;
    bool updateExisting_ = false;
    QList<Row> rows_;
    QList<Write> writes_;   // per row
};
