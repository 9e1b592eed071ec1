-- Kestrova.mdb: every table, the fixed rows and the lookup indexes.
-- Dates are ISO text (yyyy-MM-dd) so that <=, < and Between compare correctly.
-- Integer keys are AUTOINCREMENT so that a deleted key is never handed out again.
-- ...Version counts the changes of a row an editor may hold open: a change made
-- from an older reading is refused instead of overwriting another counter's.

CREATE TABLE Account (
  AccountIndex   INTEGER PRIMARY KEY AUTOINCREMENT,
  AccountName    TEXT NOT NULL DEFAULT ''
);

CREATE TABLE Customer (
  CustomerIndex  INTEGER PRIMARY KEY AUTOINCREMENT,
  CustomerName   TEXT NOT NULL DEFAULT '',
  CustomerRegion TEXT NOT NULL DEFAULT '',
  CustomerOwe    REAL NOT NULL DEFAULT 0,
  CustomerVersion INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Product (
  ProductIndex   INTEGER PRIMARY KEY AUTOINCREMENT,
  ProductName    TEXT NOT NULL DEFAULT '',
  ProductType    TEXT NOT NULL DEFAULT '',
  ProductPrice   REAL NOT NULL DEFAULT 0,
  ProductSerial  TEXT NOT NULL DEFAULT '',
  ProductRemark  TEXT NOT NULL DEFAULT '',
  ProductVersion INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Bill (
  BillIndex      INTEGER PRIMARY KEY AUTOINCREMENT,
  BillKind       TEXT NOT NULL DEFAULT '',
  BillAccount    INTEGER NOT NULL DEFAULT 1,
  BillRecordTime TEXT,
  BillCreateTime TEXT,
  BillUser       TEXT NOT NULL DEFAULT '',
  BillReason     TEXT NOT NULL DEFAULT '',
  BillType       TEXT NOT NULL DEFAULT '',
  BillToken      TEXT NOT NULL DEFAULT '',
  BillSum        REAL NOT NULL DEFAULT 0,
  BillMoney      REAL NOT NULL DEFAULT 0,
  BillRemark     TEXT NOT NULL DEFAULT '',
  BillSerial     TEXT NOT NULL DEFAULT '',
  BillMan        TEXT NOT NULL DEFAULT '',
  BillVersion    INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Store (
  StoreIndex     INTEGER PRIMARY KEY AUTOINCREMENT,
  StoreBill      INTEGER NOT NULL DEFAULT 0,
  StoreProduct   INTEGER NOT NULL DEFAULT 0,
  StoreNum1      TEXT NOT NULL DEFAULT '',
  StoreNum2      TEXT NOT NULL DEFAULT '',
  StoreNum3      TEXT NOT NULL DEFAULT '',
  StoreNum4      TEXT NOT NULL DEFAULT '',
  StoreNum5      TEXT NOT NULL DEFAULT '',
  StoreNum6      TEXT NOT NULL DEFAULT '',
  StoreNum7      TEXT NOT NULL DEFAULT '',
  StoreNum8      TEXT NOT NULL DEFAULT '',
  StoreNum9      TEXT NOT NULL DEFAULT '',
  StoreNum10     TEXT NOT NULL DEFAULT '',
  StoreNumber    INTEGER NOT NULL DEFAULT 0,
  StorePrice     REAL NOT NULL DEFAULT 0,
  StoreSum       REAL NOT NULL DEFAULT 0
);

CREATE TABLE Price (
  PriceIndex     INTEGER PRIMARY KEY AUTOINCREMENT,
  PriceProduct   INTEGER NOT NULL,
  PriceCustomer  INTEGER NOT NULL,
  PriceValue     REAL NOT NULL DEFAULT 0
);

CREATE TABLE Parameter (
  ParameterIndex INTEGER PRIMARY KEY AUTOINCREMENT,
  ParameterType  INTEGER NOT NULL,
  ParameterValue TEXT NOT NULL DEFAULT ''
);

CREATE TABLE Setting (
  SettingIndex   INTEGER PRIMARY KEY,
  SettingValue   TEXT NOT NULL DEFAULT ''
);

CREATE TABLE Power (
  PowerName      TEXT NOT NULL PRIMARY KEY,
  PowerKey       TEXT NOT NULL DEFAULT ''
);

CREATE TABLE SG (
  SGIndex        INTEGER PRIMARY KEY AUTOINCREMENT,
  SGCustomer     TEXT NOT NULL DEFAULT '',
  SGDate         TEXT,
  SGSum          REAL NOT NULL DEFAULT 0,
  SGRemark       TEXT NOT NULL DEFAULT ''
);

CREATE TABLE PrintGrid (
  GridIndex      INTEGER PRIMARY KEY,
  GridSerial     TEXT NOT NULL DEFAULT '',
  GridName       TEXT NOT NULL DEFAULT '',
  GridType       TEXT NOT NULL DEFAULT '',
  GridNum1       TEXT NOT NULL DEFAULT '',
  GridNum2       TEXT NOT NULL DEFAULT '',
  GridNum3       TEXT NOT NULL DEFAULT '',
  GridNum4       TEXT NOT NULL DEFAULT '',
  GridNum5       TEXT NOT NULL DEFAULT '',
  GridNum6       TEXT NOT NULL DEFAULT '',
  GridNum7       TEXT NOT NULL DEFAULT '',
  GridNum8       TEXT NOT NULL DEFAULT '',
  GridNum9       TEXT NOT NULL DEFAULT '',
  GridNum10      TEXT NOT NULL DEFAULT '',
  GridNumber     TEXT NOT NULL DEFAULT '',
  GridPrice      TEXT NOT NULL DEFAULT '',
  GridSum        TEXT NOT NULL DEFAULT ''
);

CREATE TABLE PrintBigFont (
  BigFontIndex   INTEGER PRIMARY KEY,
  BigFontValue   TEXT NOT NULL DEFAULT ''
);

CREATE TABLE PrintList (
  ListIndex      INTEGER PRIMARY KEY,
  ListValue      TEXT NOT NULL DEFAULT ''
);

CREATE TABLE PrintReport (
  ReportIndex    INTEGER PRIMARY KEY,
  ReportEnable   INTEGER NOT NULL DEFAULT 0,
  ReportGrid1    TEXT NOT NULL DEFAULT '',
  ReportGrid2    TEXT NOT NULL DEFAULT '',
  ReportGrid3    TEXT NOT NULL DEFAULT '',
  ReportGrid4    TEXT NOT NULL DEFAULT '',
  ReportGrid5    TEXT NOT NULL DEFAULT '',
  ReportGrid6    TEXT NOT NULL DEFAULT '',
  ReportGrid7    TEXT NOT NULL DEFAULT '',
  ReportGrid8    TEXT NOT NULL DEFAULT '',
  ReportGrid9    TEXT NOT NULL DEFAULT ''
);

-- Lookups the windows make on every card fill and keystroke.
CREATE INDEX CustomerByName     ON Customer (CustomerName);
CREATE INDEX AccountByName      ON Account (AccountName);
CREATE INDEX ProductBySerial    ON Product (ProductSerial);
CREATE INDEX ProductByName      ON Product (ProductName, ProductType);
-- The customer and account figures read these alone, never the table rows.
CREATE INDEX BillByUser         ON Bill (BillUser, BillCreateTime, BillKind, BillSum, BillAccount, BillMoney);
CREATE INDEX BillByAccount      ON Bill (BillAccount, BillCreateTime, BillMoney);
-- Who changed what: one row a change, written with it, never edited or deleted.
-- JournalMoment is yyyy-MM-dd HH:mm:ss; JournalData keeps the records before and
-- after (JSON), so a deleted bill can be saved again.
CREATE TABLE Journal (
  JournalIndex    INTEGER PRIMARY KEY AUTOINCREMENT,
  JournalMoment   TEXT NOT NULL DEFAULT '',
  JournalRole     TEXT NOT NULL DEFAULT '',
  JournalComputer TEXT NOT NULL DEFAULT '',
  JournalProgram  TEXT NOT NULL DEFAULT '',
  JournalAction   TEXT NOT NULL DEFAULT '',
  JournalKind     TEXT NOT NULL DEFAULT '',
  JournalKey      TEXT NOT NULL DEFAULT '',
  JournalCustomer TEXT NOT NULL DEFAULT '',
  JournalText     TEXT NOT NULL DEFAULT '',
  JournalData     TEXT NOT NULL DEFAULT ''
);

-- Carries every column the data centre lists, so a search over years reads the index alone.
CREATE INDEX BillByDate         ON Bill (BillCreateTime, BillAccount, BillKind, BillSum, BillUser, BillSerial,
                                         BillMan, BillReason, BillType, BillToken, BillRemark);
CREATE INDEX BillByKind         ON Bill (BillKind, BillCreateTime);
CREATE INDEX StoreByBill        ON Store (StoreBill);
CREATE INDEX StoreByProduct     ON Store (StoreProduct, StoreBill, StoreNumber);
CREATE INDEX SGByCustomer       ON SG (SGCustomer, SGDate, SGSum);
CREATE UNIQUE INDEX PriceByCustomer ON Price (PriceCustomer, PriceProduct);
CREATE INDEX PriceByProduct     ON Price (PriceProduct);
-- By type only, so that a list comes back in the order its values were added.
CREATE INDEX ParameterByType ON Parameter (ParameterType);
CREATE INDEX JournalByMoment ON Journal (JournalMoment);

-- Placeholder rows with index 1: every list and sum leaves them out.
INSERT INTO Account  (AccountIndex, AccountName) VALUES (1, '无帐户');
INSERT INTO Customer (CustomerIndex, CustomerName, CustomerRegion, CustomerOwe) VALUES (1, '', '', 0);
INSERT INTO Product  (ProductIndex, ProductName, ProductType, ProductPrice, ProductSerial, ProductRemark)
  VALUES (1, '已删除货品', '', 0, '', '');
INSERT INTO Bill     (BillIndex, BillKind, BillAccount, BillRecordTime, BillCreateTime)
  VALUES (1, '', 1, '2000-01-01', '2000-01-01');

-- Initial passwords; the README names them.
INSERT INTO Power (PowerName, PowerKey) VALUES ('财务主管', '8888');
INSERT INTO Power (PowerName, PowerKey) VALUES ('管理员', '9999');
INSERT INTO Power (PowerName, PowerKey) VALUES ('修改', '6666');

-- Last bill numbers of sales, purchase, income and expense bills; the first
-- new bill of each kind is proposed as XS10001, JH10001, SR10001, ZC10001.
INSERT INTO Setting (SettingIndex, SettingValue) VALUES (1, 'XS10000');
INSERT INTO Setting (SettingIndex, SettingValue) VALUES (2, 'JH10000');
INSERT INTO Setting (SettingIndex, SettingValue) VALUES (3, 'SR10000');
INSERT INTO Setting (SettingIndex, SettingValue) VALUES (4, 'ZC10000');

-- Starting values of the three bill parameter lists, so a paid bill can be
-- saved on the first day: kinds of payment, categories, vouchers.
INSERT INTO Parameter (ParameterType, ParameterValue) VALUES
  (1, '货款'), (1, '订金'), (1, '其它'),
  (2, '现金'), (2, '银行转账'), (2, '微信'), (2, '支付宝'),
  (3, '收据'), (3, '发票'), (3, '无');
INSERT INTO PrintList (ListIndex, ListValue) VALUES (1, '');
INSERT INTO PrintBigFont (BigFontIndex, BigFontValue) VALUES (1, '');

-- Print rows are overwritten, never added: six bill lines, and enough report
-- lines for a monthly summary of a few thousand customers.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6)
INSERT INTO PrintGrid (GridIndex) SELECT i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)
INSERT INTO PrintReport (ReportIndex) SELECT i FROM n;
