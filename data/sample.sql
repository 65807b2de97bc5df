-- Shared design database of the sample installation: working modes and the
-- fields each mode can export. The exporting programs fill the real one.
CREATE TABLE ZN7TTextExportMode (
    TTxMMode TEXT PRIMARY KEY NOT NULL,
    TTxMName TEXT NOT NULL
);

CREATE TABLE ZN7TTextExportField (
    TTxMMode TEXT NOT NULL REFERENCES ZN7TTextExportMode(TTxMMode),
    TTxPField TEXT NOT NULL,
    TTxPName TEXT NOT NULL,
    TTxPSampleD TEXT NOT NULL DEFAULT '',
    TTxPSampleT TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (TTxMMode, TTxPField)
);

CREATE VIEW ZN7VTextExport AS
    SELECT TTxMMode, TTxPField, TTxPName, TTxPSampleD, TTxPSampleT
    FROM ZN7TTextExportField;

INSERT INTO ZN7TTextExportMode (TTxMMode, TTxMName) VALUES
    ('ALL', 'ทุกโหมด'),
    ('BANK', 'โอนเงินผ่านธนาคาร (Bank Transfer)'),
    ('PAYROLL', 'เงินเดือนพนักงาน (Payroll)'),
    ('TAX', 'ภาษีหัก ณ ที่จ่าย (Withholding Tax)'),
    ('VENDOR', 'จ่ายชำระเจ้าหนี้ (Vendor Payment)');

INSERT INTO ZN7TTextExportField (TTxMMode, TTxPField, TTxPName, TTxPSampleD, TTxPSampleT) VALUES
    ('ALL', '{COMPNAME}', 'ชื่อบริษัท', 'บริษัท สยามเทรดดิ้ง จำกัด', 'บริษัท สยามเทรดดิ้ง จำกัด'),
    ('ALL', '{COMPTAXID}', 'เลขประจำตัวผู้เสียภาษีของบริษัท', '0105548012345', '0105548012345'),
    ('ALL', '{DOCDATE}', 'วันที่เอกสาร', '2026-12-06', '06122026'),
    ('ALL', '{DOCNO}', 'เลขที่เอกสาร', 'PV6912-0042', 'PV69120042'),
    ('ALL', '{RECCOUNT}', 'จำนวนรายการ', '125', '00125'),
    ('ALL', '{SEQNO}', 'ลำดับรายการ', '7', '000007'),
    ('ALL', '{TOTALAMT}', 'ยอดเงินรวม', '1,254,300.75', '125430075'),
    ('BANK', '{BANKCODE}', 'รหัสธนาคารผู้รับ', '014', '014'),
    ('BANK', '{BRANCHCODE}', 'รหัสสาขาผู้รับ', '0123', '0123'),
    ('BANK', '{COMPACCNO}', 'เลขที่บัญชีบริษัท', '123-4-56789-0', '1234567890'),
    ('BANK', '{EFFDATE}', 'วันที่มีผลโอนเงิน', '2026-12-10', '10122026'),
    ('BANK', '{FEETYPE}', 'ผู้รับภาระค่าธรรมเนียม', 'ผู้รับเงิน', 'B'),
    ('BANK', '{PAYAMT}', 'จำนวนเงินโอน', '15,250.50', '000000001525050'),
    ('BANK', '{PAYEEACC}', 'เลขที่บัญชีผู้รับ', '987-6-54321-0', '9876543210'),
    ('BANK', '{PAYEEEMAIL}', 'อีเมลผู้รับ', 'somchai.j@example.co.th', 'somchai.j@example.co.th'),
    ('BANK', '{PAYEENAME}', 'ชื่อผู้รับเงิน', 'นายสมชาย ใจดี', 'นายสมชาย ใจดี'),
    ('BANK', '{PAYREF}', 'เลขอ้างอิงการโอน', 'TRF2612060001', 'TRF2612060001'),
    ('PAYROLL', '{EMPACC}', 'เลขที่บัญชีพนักงาน', '456-7-89012-3', '4567890123'),
    ('PAYROLL', '{EMPCODE}', 'รหัสพนักงาน', 'E00123', 'E00123'),
    ('PAYROLL', '{EMPNAME}', 'ชื่อพนักงาน', 'นางสาวสุดา รักไทย', 'นางสาวสุดา รักไทย'),
    ('PAYROLL', '{NETPAY}', 'เงินได้สุทธิ', '28,450.00', '2845000'),
    ('PAYROLL', '{PAYPERIOD}', 'งวดการจ่าย', 'ธันวาคม 2569', '122026'),
    ('PAYROLL', '{SOCIALSEC}', 'เงินสมทบประกันสังคม', '750.00', '75000'),
    ('TAX', '{INCOMETYPE}', 'ประเภทเงินได้', 'ค่าบริการ', '40(2)'),
    ('TAX', '{PAYEETAXID}', 'เลขประจำตัวผู้เสียภาษีผู้รับ', '3100600123456', '3100600123456'),
    ('TAX', '{TAXAMT}', 'ภาษีที่หักไว้', '457.52', '45752'),
    ('TAX', '{TAXBASE}', 'เงินได้ที่จ่าย', '15,250.50', '1525050'),
    ('TAX', '{TAXCOND}', 'เงื่อนไขการหักภาษี', 'หัก ณ ที่จ่าย', '1'),
    ('TAX', '{TAXRATE}', 'อัตราภาษี', '3%', '300'),
    ('VENDOR', '{INVOICENO}', 'เลขที่ใบแจ้งหนี้', 'INV-2026-1187', 'INV20261187'),
    ('VENDOR', '{VENDORCODE}', 'รหัสเจ้าหนี้', 'V0042', 'V0042'),
    ('VENDOR', '{VENDORNAME}', 'ชื่อเจ้าหนี้', 'ห้างหุ้นส่วนจำกัด เชียงใหม่ซัพพลาย', 'หจก. เชียงใหม่ซัพพลาย'),
    ('VENDOR', '{WHTAMT}', 'ภาษีหัก ณ ที่จ่ายของเจ้าหนี้', '1,200.00', '120000');
