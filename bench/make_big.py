# Writes a database of realistic size for the benchmarks: 2,000 customers,
# 1,000 products, 10 accounts, 100,000 bills with six lines per goods bill.
import random, sqlite3, sys
db = sqlite3.connect(sys.argv[1])
random.seed(1)
db.executemany("insert into Customer (CustomerName, CustomerRegion, CustomerOwe) values (?,?,?)",
               [("客户%04d" % i, ["本地", "省内", "其它"][i % 3], 0) for i in range(2000)])
db.executemany("insert into Account (AccountName) values (?)", [("帐户%d" % i,) for i in range(10)])
db.executemany("insert into Product (ProductName, ProductType, ProductPrice, ProductSerial) values (?,?,?,?)",
               [("货品%04d" % i, "型%d" % (i % 7), 10 + i % 90, "P%04d" % i) for i in range(1000)])
kinds = ["出货单", "出货单", "进货单", "财务收入单", "财务支出单"]
for b in range(100000):
    kind = random.choice(kinds)
    day = "%04d-%02d-%02d" % (random.randint(2020, 2026), random.randint(1, 12), random.randint(1, 28))
    user = "客户%04d" % random.randint(0, 1999)
    sign = 1 if kind in ("出货单", "财务收入单") else -1
    amount = random.randint(10, 5000)
    account = random.randint(2, 11)
    cur = db.execute("insert into Bill (BillKind, BillAccount, BillRecordTime, BillCreateTime, BillUser, BillSum, BillMoney) values (?,?,?,?,?,?,?)",
                     (kind, account, day, day, user, sign * amount, sign * amount))
    if kind in ("出货单", "进货单"):
        bill = cur.lastrowid
        rows = [(bill, random.randint(2, 1001), -sign * random.randint(1, 20)) if s < 2 else (bill, 0, 0) for s in range(6)]
        db.executemany("insert into Store (StoreBill, StoreProduct, StoreNumber) values (?,?,?)", rows)
db.commit()
