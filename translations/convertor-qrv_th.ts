<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="th_TH">
<context>
    <name>LayoutText</name>
    <message>
        <source>upload file</source>
        <translation>ไฟล์อัปโหลด</translation>
    </message>
    <message>
        <source>VAT amount</source>
        <translation>ภาษีมูลค่าเพิ่ม</translation>
    </message>
    <message>
        <source>account</source>
        <translation>เลขที่บัญชี</translation>
    </message>
    <message>
        <source>amount</source>
        <translation>จำนวนเงิน</translation>
    </message>
    <message>
        <source>amount paid</source>
        <translation>จำนวนเงินที่จ่าย</translation>
    </message>
    <message>
        <source>apply code</source>
        <translation>รหัสการนำไปใช้</translation>
    </message>
    <message>
        <source>charge amount</source>
        <translation>ค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>cheque amount</source>
        <translation>จำนวนเงินในเช็ค</translation>
    </message>
    <message>
        <source>cheque type</source>
        <translation>ประเภทเช็ค</translation>
    </message>
    <message>
        <source>company code</source>
        <translation>รหัสบริษัท</translation>
    </message>
    <message>
        <source>company name</source>
        <translation>ชื่อบริษัท</translation>
    </message>
    <message>
        <source>credit account</source>
        <translation>บัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>debit account</source>
        <translation>บัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>delivery code</source>
        <translation>รหัสวิธีส่งเช็ค</translation>
    </message>
    <message>
        <source>due date</source>
        <translation>วันที่ครบกำหนด</translation>
    </message>
    <message>
        <source>effective date</source>
        <translation>วันที่มีผล</translation>
    </message>
    <message>
        <source>end of the name</source>
        <translation>ส่วนท้ายของชื่อ</translation>
    </message>
    <message>
        <source>free text</source>
        <translation>ข้อความอิสระ</translation>
    </message>
    <message>
        <source>income description 1</source>
        <translation>คำอธิบายเงินได้ 1</translation>
    </message>
    <message>
        <source>income description 2</source>
        <translation>คำอธิบายเงินได้ 2</translation>
    </message>
    <message>
        <source>income description 3</source>
        <translation>คำอธิบายเงินได้ 3</translation>
    </message>
    <message>
        <source>income of item 1</source>
        <translation>เงินได้รายการที่ 1</translation>
    </message>
    <message>
        <source>income of item 2</source>
        <translation>เงินได้รายการที่ 2</translation>
    </message>
    <message>
        <source>income of item 3</source>
        <translation>เงินได้รายการที่ 3</translation>
    </message>
    <message>
        <source>income type</source>
        <translation>ประเภทเงินได้</translation>
    </message>
    <message>
        <source>invoice amount</source>
        <translation>จำนวนเงินตามใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>invoice date</source>
        <translation>วันที่ใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>invoice flag</source>
        <translation>เครื่องหมายมีใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>invoice number</source>
        <translation>เลขที่ใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>layout mark</source>
        <translation>ช่องบอกรูปแบบ</translation>
    </message>
    <message>
        <source>leading blanks</source>
        <translation>ช่องว่างนำหน้า</translation>
    </message>
    <message>
        <source>media type</source>
        <translation>ประเภทสื่อ</translation>
    </message>
    <message>
        <source>name</source>
        <translation>ชื่อ</translation>
    </message>
    <message>
        <source>name and reference text</source>
        <translation>ชื่อและข้อความอ้างอิง</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>ส่วนที่ไม่ได้อ่าน</translation>
    </message>
    <message>
        <source>number of debits</source>
        <translation>จำนวนรายการหักบัญชี</translation>
    </message>
    <message>
        <source>number of invoice lines</source>
        <translation>จำนวนบรรทัดใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>payee address line 1</source>
        <translation>ที่อยู่ผู้รับเงิน บรรทัดที่ 1</translation>
    </message>
    <message>
        <source>payee address line 2</source>
        <translation>ที่อยู่ผู้รับเงิน บรรทัดที่ 2</translation>
    </message>
    <message>
        <source>payee address line 3</source>
        <translation>ที่อยู่ผู้รับเงิน บรรทัดที่ 3</translation>
    </message>
    <message>
        <source>payee code</source>
        <translation>รหัสผู้รับเงิน</translation>
    </message>
    <message>
        <source>payee name</source>
        <translation>ชื่อผู้รับเงิน</translation>
    </message>
    <message>
        <source>payee tax identification number</source>
        <translation>เลขประจำตัวผู้เสียภาษีของผู้รับเงิน</translation>
    </message>
    <message>
        <source>payment key</source>
        <translation>รหัสอ้างอิงการจ่ายเงิน</translation>
    </message>
    <message>
        <source>pickup branch</source>
        <translation>สาขาที่รับเช็ค</translation>
    </message>
    <message>
        <source>purchase order number</source>
        <translation>เลขที่ใบสั่งซื้อ</translation>
    </message>
    <message>
        <source>reason</source>
        <translation>เหตุผล</translation>
    </message>
    <message>
        <source>receiver identifier</source>
        <translation>เลขประจำตัวผู้รับโอน</translation>
    </message>
    <message>
        <source>receiver name</source>
        <translation>ชื่อผู้รับโอน</translation>
    </message>
    <message>
        <source>receiving bank code</source>
        <translation>รหัสธนาคารผู้รับโอน</translation>
    </message>
    <message>
        <source>receiving branch code</source>
        <translation>รหัสสาขาผู้รับโอน</translation>
    </message>
    <message>
        <source>record code</source>
        <translation>รหัสระเบียน</translation>
    </message>
    <message>
        <source>record count</source>
        <translation>จำนวนรายการ</translation>
    </message>
    <message>
        <source>record type</source>
        <translation>ประเภทระเบียน</translation>
    </message>
    <message>
        <source>reference</source>
        <translation>ข้อมูลอ้างอิง</translation>
    </message>
    <message>
        <source>reference number</source>
        <translation>เลขที่อ้างอิง</translation>
    </message>
    <message>
        <source>remainder</source>
        <translation>ส่วนที่เหลือ</translation>
    </message>
    <message>
        <source>result</source>
        <translation>ผลการทำรายการ</translation>
    </message>
    <message>
        <source>result letter</source>
        <translation>อักษรผลการทำรายการ</translation>
    </message>
    <message>
        <source>sending bank code</source>
        <translation>รหัสธนาคารผู้โอน</translation>
    </message>
    <message>
        <source>sending branch code</source>
        <translation>รหัสสาขาผู้โอน</translation>
    </message>
    <message>
        <source>service type</source>
        <translation>ประเภทบริการ</translation>
    </message>
    <message>
        <source>sign</source>
        <translation>เครื่องหมาย</translation>
    </message>
    <message>
        <source>status</source>
        <translation>สถานะ</translation>
    </message>
    <message>
        <source>status code</source>
        <translation>รหัสสถานะ</translation>
    </message>
    <message>
        <source>tax attachment number</source>
        <translation>เลขที่เอกสารแนบภาษี</translation>
    </message>
    <message>
        <source>tax date</source>
        <translation>วันที่หักภาษี</translation>
    </message>
    <message>
        <source>tax form code</source>
        <translation>รหัสแบบแสดงรายการภาษี</translation>
    </message>
    <message>
        <source>tax of item 1</source>
        <translation>ภาษีรายการที่ 1</translation>
    </message>
    <message>
        <source>tax of item 2</source>
        <translation>ภาษีรายการที่ 2</translation>
    </message>
    <message>
        <source>tax of item 3</source>
        <translation>ภาษีรายการที่ 3</translation>
    </message>
    <message>
        <source>tax payment condition</source>
        <translation>เงื่อนไขการชำระภาษี</translation>
    </message>
    <message>
        <source>tax running number</source>
        <translation>เลขที่ลำดับภาษี</translation>
    </message>
    <message>
        <source>term payment</source>
        <translation>งวดการชำระ</translation>
    </message>
    <message>
        <source>total amount</source>
        <translation>ยอดเงินรวม</translation>
    </message>
    <message>
        <source>total record</source>
        <translation>จำนวนรายการรวม</translation>
    </message>
    <message>
        <source>value date</source>
        <translation>วันที่มีผล</translation>
    </message>
    <message>
        <source>withholding-tax amount</source>
        <translation>ภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>withholding-tax flag</source>
        <translation>เครื่องหมายภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>bank system</source>
        <translation>ระบบของธนาคาร</translation>
    </message>
    <message>
        <source>batch date</source>
        <translation>วันที่ของชุดรายการ</translation>
    </message>
    <message>
        <source>batch sequence number</source>
        <translation>ลำดับที่ของชุดรายการ</translation>
    </message>
    <message>
        <source>batch time</source>
        <translation>เวลาของชุดรายการ</translation>
    </message>
    <message>
        <source>cheque delivery code</source>
        <translation>รหัสวิธีส่งเช็ค</translation>
    </message>
    <message>
        <source>cheque flag</source>
        <translation>เครื่องหมายเช็ค</translation>
    </message>
    <message>
        <source>company id</source>
        <translation>รหัสประจำตัวบริษัท</translation>
    </message>
    <message>
        <source>creation date</source>
        <translation>วันที่สร้างไฟล์</translation>
    </message>
    <message>
        <source>credit account branch</source>
        <translation>สาขาของบัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>credit account type</source>
        <translation>ประเภทบัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>credit amount</source>
        <translation>จำนวนเงินที่โอนเข้า</translation>
    </message>
    <message>
        <source>credit bank code</source>
        <translation>รหัสธนาคารของบัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>credit sequence number</source>
        <translation>ลำดับที่รายการรับเงิน</translation>
    </message>
    <message>
        <source>currency</source>
        <translation>สกุลเงิน</translation>
    </message>
    <message>
        <source>debit account branch</source>
        <translation>สาขาของบัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>debit account type</source>
        <translation>ประเภทบัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>debit fee account</source>
        <translation>บัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>debit fee account branch</source>
        <translation>สาขาของบัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>debit fee account type</source>
        <translation>ประเภทบัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>debit fee bank code</source>
        <translation>รหัสธนาคารของบัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>debit sequence number</source>
        <translation>ลำดับที่รายการหักเงิน</translation>
    </message>
    <message>
        <source>description</source>
        <translation>คำอธิบาย</translation>
    </message>
    <message>
        <source>fee account</source>
        <translation>บัญชีค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>fee account branch</source>
        <translation>สาขาของบัญชีค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>fee account type</source>
        <translation>ประเภทบัญชีค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>flag</source>
        <translation>ตัวบ่งชี้</translation>
    </message>
    <message>
        <source>income</source>
        <translation>เงินได้</translation>
    </message>
    <message>
        <source>invoice line number</source>
        <translation>ลำดับบรรทัดใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>invoice total</source>
        <translation>ยอดรวมใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>item number</source>
        <translation>ลำดับรายการ</translation>
    </message>
    <message>
        <source>number of credits</source>
        <translation>จำนวนรายการโอนเข้า</translation>
    </message>
    <message>
        <source>number of withholding-tax items</source>
        <translation>จำนวนรายการภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>payee name (English)</source>
        <translation>ชื่อผู้รับเงิน (ภาษาอังกฤษ)</translation>
    </message>
    <message>
        <source>payee name (Thai)</source>
        <translation>ชื่อผู้รับเงิน (ภาษาไทย)</translation>
    </message>
    <message>
        <source>pickup location</source>
        <translation>สถานที่รับเช็ค</translation>
    </message>
    <message>
        <source>print flag</source>
        <translation>เครื่องหมายการพิมพ์</translation>
    </message>
    <message>
        <source>processing round</source>
        <translation>รอบการประมวลผล</translation>
    </message>
    <message>
        <source>product code</source>
        <translation>รหัสผลิตภัณฑ์</translation>
    </message>
    <message>
        <source>receiving bank name</source>
        <translation>ชื่อธนาคารผู้รับโอน</translation>
    </message>
    <message>
        <source>receiving branch name</source>
        <translation>ชื่อสาขาผู้รับโอน</translation>
    </message>
    <message>
        <source>reserved</source>
        <translation>ช่องสำรอง</translation>
    </message>
    <message>
        <source>result code</source>
        <translation>รหัสผลการทำรายการ</translation>
    </message>
    <message>
        <source>tax rate (per cent)</source>
        <translation>อัตราภาษี (ร้อยละ)</translation>
    </message>
    <message>
        <source>withholding-tax attachment number</source>
        <translation>เลขที่เอกสารแนบภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>withholding-tax date</source>
        <translation>วันที่หักภาษี ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>withholding-tax form</source>
        <translation>แบบภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>withholding-tax running number</source>
        <translation>เลขที่ลำดับภาษีหัก ณ ที่จ่าย</translation>
    </message>
    <message>
        <source>cheque line (every line 700 characters)</source>
        <translation>บรรทัดเช็ค (ทุกบรรทัดยาว 700 ตัวอักษร)</translation>
    </message>
    <message>
        <source>control record</source>
        <translation>ระเบียนควบคุม</translation>
    </message>
    <message>
        <source>control record, short-amount form (columns 1-9 blank)</source>
        <translation>ระเบียนควบคุม แบบยอดเงินสั้น (คอลัมน์ 1-9 ว่าง)</translation>
    </message>
    <message>
        <source>detail line</source>
        <translation>บรรทัดรายการ</translation>
    </message>
    <message>
        <source>detail line, long-amount form</source>
        <translation>บรรทัดรายการ แบบยอดเงินยาว</translation>
    </message>
    <message>
        <source>detail line, short-amount form</source>
        <translation>บรรทัดรายการ แบบยอดเงินสั้น</translation>
    </message>
    <message>
        <source>detail record (at most 80 characters)</source>
        <translation>ระเบียนรายการ (ไม่เกิน 80 ตัวอักษร)</translation>
    </message>
    <message>
        <source>detail record, short-amount form</source>
        <translation>ระเบียนรายการ แบบยอดเงินสั้น</translation>
    </message>
    <message>
        <source>header line</source>
        <translation>บรรทัดส่วนหัว</translation>
    </message>
    <message>
        <source>header line, long-amount form (columns 1-9 not all blank)</source>
        <translation>บรรทัดส่วนหัว แบบยอดเงินยาว (คอลัมน์ 1-9 ไม่ว่างทั้งหมด)</translation>
    </message>
    <message>
        <source>header line, short-amount form (columns 1-9 blank)</source>
        <translation>บรรทัดส่วนหัว แบบยอดเงินสั้น (คอลัมน์ 1-9 ว่าง)</translation>
    </message>
    <message>
        <source>invoice line (the invoice file)</source>
        <translation>บรรทัดใบแจ้งหนี้ (ไฟล์ใบแจ้งหนี้)</translation>
    </message>
    <message>
        <source>return detail record</source>
        <translation>ระเบียนรายการของไฟล์ผลการหักบัญชี</translation>
    </message>
    <message>
        <source>return header record</source>
        <translation>ระเบียนส่วนหัวของไฟล์ผลการหักบัญชี</translation>
    </message>
    <message>
        <source>return trailer record</source>
        <translation>ระเบียนท้ายของไฟล์ผลการหักบัญชี</translation>
    </message>
    <message>
        <source>summary line (599)</source>
        <translation>บรรทัดสรุป (599)</translation>
    </message>
    <message>
        <source>100M return file</source>
        <translation>ไฟล์ผลการหักบัญชี 100M</translation>
    </message>
    <message>
        <source>Convert 100M input</source>
        <translation>ไฟล์ต้นทางของการแปลงเป็น 100M</translation>
    </message>
    <message>
        <source>Direct Credit and Payroll (DCP, PAY, PA2, PA3)</source>
        <translation>ไฟล์โอนเงินเข้าบัญชีและเงินเดือน (DCP, PAY, PA2, PA3)</translation>
    </message>
    <message>
        <source>Direct Debit (100M) (DDR)</source>
        <translation>ไฟล์หักบัญชีอัตโนมัติ (100M) (DDR)</translation>
    </message>
    <message>
        <source>Direct Debit (HASH) file</source>
        <translation>ไฟล์หักบัญชีอัตโนมัติ (ตรวจค่าแฮช)</translation>
    </message>
    <message>
        <source>Manager Cheque invoice file (MCP)</source>
        <translation>ไฟล์ใบแจ้งหนี้ของแคชเชียร์เช็ค (MCP)</translation>
    </message>
    <message>
        <source>Manager Cheque payment file (MCP)</source>
        <translation>ไฟล์การจ่ายเงินของแคชเชียร์เช็ค (MCP)</translation>
    </message>
    <message>
        <source>Media Clearing and Media Clearing Payroll (MCL, PA4, PA5, PA6)</source>
        <translation>ไฟล์โอนเงินต่างธนาคารและเงินเดือนต่างธนาคาร (MCL, PA4, PA5, PA6)</translation>
    </message>
    <message>
        <source>ddmmyy</source>
        <translation>ววดดปป (ปี ค.ศ.)</translation>
    </message>
    <message>
        <source>ddmmyyyy</source>
        <translation>ววดดปปปป (ปี ค.ศ.)</translation>
    </message>
    <message>
        <source>yyyymmdd</source>
        <translation>ปปปปดดวว (ปี ค.ศ.)</translation>
    </message>
    <message>
        <source>yymmdd</source>
        <translation>ปปดดวว (ปี ค.ศ.)</translation>
    </message>
    <message>
        <source>yyyy?mm?dd</source>
        <translation>ปปปป?ดด?วว (ปี ค.ศ.)</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>เลิกทำ(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ทำซ้ำ(&amp;R)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>ตัด(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>คัดลอก(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>วาง(&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>เลือกทั้งหมด</translation>
    </message>
</context>
<context>
    <name>QMdiSubWindow</name>
    <message>
        <source>&amp;Restore</source>
        <translation>คืนขนาด(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>ย้าย(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>ปรับขนาด(&amp;S)</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>ย่อเล็กสุด(&amp;N)</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>ขยายใหญ่สุด(&amp;X)</translation>
    </message>
    <message>
        <source>Stay on &amp;Top</source>
        <translation>อยู่บนสุดเสมอ(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>ปิด(&amp;C)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>ย่อเล็กสุด</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>ขยายใหญ่สุด</translation>
    </message>
    <message>
        <source>Restore Down</source>
        <translation>คืนขนาด</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>คืนขนาด</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>ปิด</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>เมนู</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>No fault found</source>
        <translation>ไม่พบข้อผิดพลาด</translation>
    </message>
    <message>
        <source>1 fault found</source>
        <translation>พบข้อผิดพลาด 1 รายการ</translation>
    </message>
    <message>
        <source>%1 faults found</source>
        <translation>พบข้อผิดพลาด %1 รายการ</translation>
    </message>
    <message>
        <source>cannot be told</source>
        <translation>ระบุไม่ได้</translation>
    </message>
    <message>
        <source>Account credited: %1</source>
        <translation>บัญชีที่รับเงิน: %1</translation>
    </message>
    <message>
        <source>Account debited: %1</source>
        <translation>บัญชีที่ตัดเงิน: %1</translation>
    </message>
    <message>
        <source>Hash: %1 (the hash line)</source>
        <translation>ค่าแฮช: %1 (ตรงกับบรรทัดแฮช)</translation>
    </message>
    <message>
        <source>Hash: %1</source>
        <translation>ค่าแฮช: %1</translation>
    </message>
    <message>
        <source>Product: %1   Company: %2   Value date: %3   %4</source>
        <translation>ผลิตภัณฑ์: %1   บริษัท: %2   วันที่มีผล: %3   %4</translation>
    </message>
    <message>
        <source>Debits: %1   Credits: %2   Total: %3   %4</source>
        <translation>รายการตัดเงิน: %1   รายการโอนเข้า: %2   ยอดรวม: %3   %4</translation>
    </message>
    <message>
        <source>Upload file - %1</source>
        <translation>ไฟล์อัปโหลด - %1</translation>
    </message>
    <message>
        <source>Faults</source>
        <translation>ข้อผิดพลาด</translation>
    </message>
    <message>
        <source>Upload file</source>
        <translation>ไฟล์อัปโหลด</translation>
    </message>
    <message>
        <source>Line 1, column %1: the hash line, the SHA-1 of the lines after it</source>
        <translation>บรรทัด 1 คอลัมน์ %1: บรรทัดแฮช ค่า SHA-1 ของบรรทัดที่ตามมา</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>มีไฟล์ %1 อยู่แล้ว
ต้องการเขียนทับหรือไม่</translation>
    </message>
    <message>
        <source>OK clears the form, the results of the last run with it, and switches. Cancel keeps this product and its fields.</source>
        <translation>ตกลง: ล้างหน้าจอพร้อมผลการทำงานครั้งล่าสุด แล้วเปลี่ยนรายการ  ยกเลิก: คงรายการนี้และข้อมูลที่กรอกไว้</translation>
    </message>
    <message>
        <source>Clear Form</source>
        <translation>ล้างหน้าจอ</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>บรรทัด %1: %2</translation>
    </message>
    <message>
        <source>Line %1, columns %2-%3: %4</source>
        <translation>บรรทัด %1 คอลัมน์ %2-%3: %4</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>ไฟล์ข้อความ</translation>
    </message>
    <message>
        <source>Spreadsheets</source>
        <translation>ไฟล์ตารางคำนวณ</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>ทุกไฟล์</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>บรรทัด %1 คอลัมน์ %2: %3</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>ตกลง</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>บันทึก</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>เปิด</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>ใช่(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>ไม่ใช่(&amp;N)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>ปิด</translation>
    </message>
</context>
<context>
    <name>SystemText</name>
    <message>
        <source>Company ID</source>
        <translation>รหัสประจำตัวบริษัท</translation>
    </message>
    <message>
        <source>V5 Corporate ID</source>
        <translation>รหัสลูกค้านิติบุคคล V5</translation>
    </message>
    <message>
        <source>Debit Account</source>
        <translation>บัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>Debit Fee Account</source>
        <translation>บัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>Copy Debit Account</source>
        <translation>คัดลอกบัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>Credit Account</source>
        <translation>บัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>Copy Credit Account </source>
        <translation>คัดลอกบัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>Account Type</source>
        <translation>ประเภทบัญชี</translation>
    </message>
    <message>
        <source>Branch</source>
        <translation>สาขา</translation>
    </message>
    <message>
        <source>Processing Round</source>
        <translation>รอบการประมวลผล</translation>
    </message>
    <message>
        <source>Source File Name</source>
        <translation>ชื่อไฟล์ต้นทาง</translation>
    </message>
    <message>
        <source>Payment File Name</source>
        <translation>ชื่อไฟล์การจ่ายเงิน</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>เลือกไฟล์</translation>
    </message>
    <message>
        <source>Invoice File Name</source>
        <translation>ชื่อไฟล์ใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>File From V5</source>
        <translation>ไฟล์จาก V5</translation>
    </message>
    <message>
        <source>Destination File Name</source>
        <translation>ชื่อไฟล์ปลายทาง</translation>
    </message>
    <message>
        <source>Reformat Data</source>
        <translation>แปลงรูปแบบข้อมูล</translation>
    </message>
    <message>
        <source>Clear Form</source>
        <translation>ล้างหน้าจอ</translation>
    </message>
    <message>
        <source>GenerateHash</source>
        <translation>สร้างค่าแฮช</translation>
    </message>
    <message>
        <source>Cover Letter</source>
        <translation>หนังสือนำส่ง</translation>
    </message>
    <message>
        <source>Convert 100 M</source>
        <translation>แปลงเป็น 100M</translation>
    </message>
    <message>
        <source>Reformat  100 M</source>
        <translation>เปรียบเทียบไฟล์ 100M</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>บันทึก</translation>
    </message>
    <message>
        <source>Calculate Tier Rate Report</source>
        <translation>รายงานค่าธรรมเนียมแบบขั้นบันได</translation>
    </message>
    <message>
        <source>Convert Contract</source>
        <translation>แปลงข้อมูลสัญญา</translation>
    </message>
    <message>
        <source>Print detail</source>
        <translation>พิมพ์รายละเอียด</translation>
    </message>
    <message>
        <source>Hash Value</source>
        <translation>ค่าแฮช</translation>
    </message>
    <message>
        <source>Direct Credit</source>
        <translation>โอนเงินเข้าบัญชี</translation>
    </message>
    <message>
        <source>Payroll (Type 1-Normal)</source>
        <translation>เงินเดือน (แบบที่ 1 ปกติ)</translation>
    </message>
    <message>
        <source>Payroll (Type 2)</source>
        <translation>เงินเดือน (แบบที่ 2)</translation>
    </message>
    <message>
        <source>Payroll (Type 3)</source>
        <translation>เงินเดือน (แบบที่ 3)</translation>
    </message>
    <message>
        <source>Media Clearing</source>
        <translation>โอนเงินต่างธนาคาร</translation>
    </message>
    <message>
        <source>Media Clearing Payroll 1</source>
        <translation>เงินเดือนต่างธนาคาร แบบที่ 1</translation>
    </message>
    <message>
        <source>Media Clearing Payroll 2</source>
        <translation>เงินเดือนต่างธนาคาร แบบที่ 2</translation>
    </message>
    <message>
        <source>Media Clearing Payroll 3</source>
        <translation>เงินเดือนต่างธนาคาร แบบที่ 3</translation>
    </message>
    <message>
        <source>Manager Cheque</source>
        <translation>แคชเชียร์เช็ค</translation>
    </message>
    <message>
        <source>Direct Debit (100M)</source>
        <translation>หักบัญชีอัตโนมัติ (100M)</translation>
    </message>
    <message>
        <source>Direct Debit (HASH)</source>
        <translation>หักบัญชีอัตโนมัติ (ตรวจค่าแฮช)</translation>
    </message>
    <message>
        <source>Return file Direct Debit 100 M from V5 </source>
        <translation>ไฟล์ผลการหักบัญชี 100M จาก V5</translation>
    </message>
    <message>
        <source>Direct Debit</source>
        <translation>หักบัญชีอัตโนมัติ</translation>
    </message>
    <message>
        <source>Immediately</source>
        <translation>ทันที</translation>
    </message>
    <message>
        <source>End of Day</source>
        <translation>สิ้นวัน</translation>
    </message>
    <message>
        <source>Start of Day</source>
        <translation>ต้นวัน</translation>
    </message>
    <message>
        <source>Upload file written</source>
        <translation>เขียนไฟล์อัปโหลดแล้ว</translation>
    </message>
    <message>
        <source>No upload file written</source>
        <translation>ไม่ได้เขียนไฟล์อัปโหลด</translation>
    </message>
    <message>
        <source>Stopped before any output</source>
        <translation>หยุดก่อนเขียนผลลัพธ์ใด ๆ</translation>
    </message>
    <message>
        <source>Checked: no faults, hash value issued</source>
        <translation>ตรวจแล้ว: ไม่พบข้อผิดพลาด ออกค่าแฮชแล้ว</translation>
    </message>
    <message>
        <source>Checked: faults found, no hash value</source>
        <translation>ตรวจแล้ว: พบข้อผิดพลาด ไม่ออกค่าแฮช</translation>
    </message>
    <message>
        <source>Not checked</source>
        <translation>ยังไม่ได้ตรวจ</translation>
    </message>
    <message>
        <source>Cover letter shown</source>
        <translation>แสดงหนังสือนำส่งแล้ว</translation>
    </message>
    <message>
        <source>No cover letter</source>
        <translation>ไม่มีหนังสือนำส่ง</translation>
    </message>
    <message>
        <source>Comparison file written</source>
        <translation>เขียนไฟล์ผลการเปรียบเทียบแล้ว</translation>
    </message>
    <message>
        <source>No comparison file written</source>
        <translation>ไม่ได้เขียนไฟล์ผลการเปรียบเทียบ</translation>
    </message>
    <message>
        <source>Converted file written</source>
        <translation>เขียนไฟล์ที่แปลงแล้ว</translation>
    </message>
    <message>
        <source>No converted file written</source>
        <translation>ไม่ได้เขียนไฟล์ที่แปลง</translation>
    </message>
    <message>
        <source>Fee report shown</source>
        <translation>แสดงรายงานค่าธรรมเนียมแล้ว</translation>
    </message>
    <message>
        <source>No fee report</source>
        <translation>ไม่มีรายงานค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>Output written</source>
        <translation>เขียนผลลัพธ์แล้ว</translation>
    </message>
    <message>
        <source>No output written</source>
        <translation>ไม่ได้เขียนผลลัพธ์</translation>
    </message>
    <message>
        <source>Detail records checked</source>
        <translation>รายการที่ตรวจ</translation>
    </message>
    <message>
        <source>Debits listed</source>
        <translation>รายการหักบัญชี</translation>
    </message>
    <message>
        <source>Debits compared</source>
        <translation>รายการหักบัญชีที่เปรียบเทียบ</translation>
    </message>
    <message>
        <source>Records converted</source>
        <translation>รายการที่แปลง</translation>
    </message>
    <message>
        <source>Credits in the fee tiers</source>
        <translation>รายการโอนตามขั้นค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>Accepted</source>
        <translation>รายการที่รับ</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>สาเหตุ: %1</translation>
    </message>
    <message>
        <source>Rejected: %1</source>
        <translation>ถูกปฏิเสธ: %1</translation>
    </message>
    <message>
        <source>Faults: %1</source>
        <translation>ข้อผิดพลาด: %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ไม่มี</translation>
    </message>
    <message>
        <source>%1 entry</source>
        <translation>%1 รายการ</translation>
    </message>
    <message>
        <source>%1 entries</source>
        <translation>%1 รายการ</translation>
    </message>
    <message>
        <source>%1 line</source>
        <translation>%1 บรรทัด</translation>
    </message>
    <message>
        <source>%1 lines</source>
        <translation>%1 บรรทัด</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 ใน %2</translation>
    </message>
    <message>
        <source>    %1: %2 (last at line %3)</source>
        <translation>    %1: %2 (ล่าสุดที่บรรทัด %3)</translation>
    </message>
    <message>
        <source>Total: %1 baht</source>
        <translation>ยอดรวม: %1 บาท</translation>
    </message>
    <message>
        <source>Invalid credit account</source>
        <translation>บัญชีที่รับเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Zero amount</source>
        <translation>ยอดเงินเป็นศูนย์</translation>
    </message>
    <message>
        <source>Invalid or negative amount</source>
        <translation>ยอดเงินไม่ถูกต้องหรือติดลบ</translation>
    </message>
    <message>
        <source>Invalid bank or branch code</source>
        <translation>รหัสธนาคารหรือรหัสสาขาไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Above 2,000,000.00 baht from another bank</source>
        <translation>เกิน 2,000,000.00 บาท จากธนาคารอื่น</translation>
    </message>
    <message>
        <source>Control total not 11 digits</source>
        <translation>ยอดรวมควบคุมไม่ครบ 11 หลัก</translation>
    </message>
    <message>
        <source>Invalid amount</source>
        <translation>ยอดเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid effective date</source>
        <translation>วันที่มีผลไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Effective date before today</source>
        <translation>วันที่มีผลก่อนวันนี้</translation>
    </message>
    <message>
        <source>Line longer than 80 characters</source>
        <translation>บรรทัดยาวเกิน 80 ตัวอักษร</translation>
    </message>
    <message>
        <source>Sign is not 1</source>
        <translation>เครื่องหมายไม่ใช่ 1</translation>
    </message>
    <message>
        <source>Invalid debit account</source>
        <translation>บัญชีที่หักเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Control total differs from the amounts</source>
        <translation>ยอดรวมควบคุมไม่ตรงกับผลรวมยอดเงิน</translation>
    </message>
    <message>
        <source>Record count differs from the lines</source>
        <translation>จำนวนรายการไม่ตรงกับจำนวนบรรทัด</translation>
    </message>
    <message>
        <source>Sign is not 0 or 1</source>
        <translation>เครื่องหมายไม่ใช่ 0 หรือ 1</translation>
    </message>
    <message>
        <source>Invalid account number</source>
        <translation>เลขที่บัญชีไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Effective date differs from the control record</source>
        <translation>วันที่มีผลไม่ตรงกับรายการควบคุม</translation>
    </message>
    <message>
        <source>Record count differs from the records</source>
        <translation>จำนวนรายการไม่ตรงกับรายการจริง</translation>
    </message>
    <message>
        <source>Upload file</source>
        <translation>ไฟล์อัปโหลด</translation>
    </message>
    <message>
        <source>Listing</source>
        <translation>ไฟล์รายการข้อผิดพลาด</translation>
    </message>
    <message>
        <source>Archive</source>
        <translation>ไฟล์บีบอัด</translation>
    </message>
    <message>
        <source>Comparison file</source>
        <translation>ไฟล์ผลการเปรียบเทียบ</translation>
    </message>
    <message>
        <source>Converted file</source>
        <translation>ไฟล์ที่แปลงแล้ว</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 : %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>%1 , %2</source>
        <translation>%1 , %2</translation>
    </message>
    <message>
        <source>*%1</source>
        <translation>*%1</translation>
    </message>
    <message>
        <source>Bank Code</source>
        <translation>รหัสธนาคาร</translation>
    </message>
    <message>
        <source>Bank Name thai</source>
        <translation>ชื่อธนาคารภาษาไทย</translation>
    </message>
    <message>
        <source>Bank Name Thai</source>
        <translation>ชื่อธนาคารภาษาไทย</translation>
    </message>
    <message>
        <source>Bank Name English</source>
        <translation>ชื่อธนาคารภาษาอังกฤษ</translation>
    </message>
    <message>
        <source>Branch Code</source>
        <translation>รหัสสาขา</translation>
    </message>
    <message>
        <source>Branch Name Thai</source>
        <translation>ชื่อสาขาภาษาไทย</translation>
    </message>
    <message>
        <source>Branch Name English</source>
        <translation>ชื่อสาขาภาษาอังกฤษ</translation>
    </message>
    <message>
        <source>Region Code</source>
        <translation>รหัสภาค</translation>
    </message>
    <message>
        <source>Bank Code : </source>
        <translation>รหัสธนาคาร : </translation>
    </message>
    <message>
        <source>Bank Name Thai : </source>
        <translation>ชื่อธนาคารภาษาไทย : </translation>
    </message>
    <message>
        <source>Bank Name English : </source>
        <translation>ชื่อธนาคารภาษาอังกฤษ : </translation>
    </message>
    <message>
        <source>Branch Code : </source>
        <translation>รหัสสาขา : </translation>
    </message>
    <message>
        <source>Branch Name Thai : </source>
        <translation>ชื่อสาขาภาษาไทย : </translation>
    </message>
    <message>
        <source>Branch Name English : </source>
        <translation>ชื่อสาขาภาษาอังกฤษ : </translation>
    </message>
    <message>
        <source>Region Code : </source>
        <translation>รหัสภาค : </translation>
    </message>
    <message>
        <source>* Please Input %1</source>
        <translation>* กรุณาใส่ %1</translation>
    </message>
    <message>
        <source>* %1 must be %2 digits.</source>
        <translation>* %1 ต้องเป็นตัวเลข %2 หลัก</translation>
    </message>
    <message>
        <source>* Post Error.</source>
        <translation>* บันทึกข้อมูลไม่สำเร็จ</translation>
    </message>
    <message>
        <source>* Post Error. %1 exists already.</source>
        <translation>* บันทึกข้อมูลไม่สำเร็จ: %1 มีอยู่แล้ว</translation>
    </message>
    <message>
        <source>Bank Code %1</source>
        <translation>รหัสธนาคาร %1</translation>
    </message>
    <message>
        <source>Branch Code %1 of bank %2</source>
        <translation>รหัสสาขา %1 ของธนาคาร %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation>ไม่พบ &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Imported %1 banks and %2 branches</source>
        <translation>นำเข้าธนาคาร %1 รายการ และสาขา %2 รายการแล้ว</translation>
    </message>
    <message>
        <source>Please insert company id</source>
        <translation>กรุณาใส่รหัสประจำตัวบริษัท</translation>
    </message>
    <message>
        <source>Invalid company id</source>
        <translation>รหัสประจำตัวบริษัทไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Please insert debit account</source>
        <translation>กรุณาใส่บัญชีที่หักเงิน</translation>
    </message>
    <message>
        <source>Please insert debit fee account</source>
        <translation>กรุณาใส่บัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>Please, insert Credit account.</source>
        <translation>กรุณาใส่บัญชีที่รับเงิน</translation>
    </message>
    <message>
        <source>Please, insert debit fee account.</source>
        <translation>กรุณาใส่บัญชีที่หักค่าธรรมเนียม</translation>
    </message>
    <message>
        <source>Please insert Processing Round</source>
        <translation>กรุณาเลือกรอบการประมวลผล</translation>
    </message>
    <message>
        <source>Please Input Company Code</source>
        <translation>กรุณาใส่รหัสบริษัท</translation>
    </message>
    <message>
        <source>Please Clear Form</source>
        <translation>กรุณาล้างหน้าจอก่อน</translation>
    </message>
    <message>
        <source>Please select product type or select file name before reformat data </source>
        <translation>กรุณาเลือกประเภทรายการหรือเลือกชื่อไฟล์ก่อนแปลงรูปแบบข้อมูล</translation>
    </message>
    <message>
        <source>Source file name does not exist. Please insert valid file name and retry</source>
        <translation>ไม่พบไฟล์ต้นทาง กรุณาใส่ชื่อไฟล์ที่ถูกต้องแล้วลองใหม่</translation>
    </message>
    <message>
        <source>No Input File. Please Browse Input File</source>
        <translation>ไม่มีไฟล์ข้อมูล กรุณาเลือกไฟล์ข้อมูล</translation>
    </message>
    <message>
        <source>No Input File</source>
        <translation>ไม่มีไฟล์ข้อมูล</translation>
    </message>
    <message>
        <source>Unable to open source file.</source>
        <translation>ไม่สามารถเปิดไฟล์ต้นทางได้</translation>
    </message>
    <message>
        <source>Invalid QRV debit account</source>
        <translation>บัญชีที่หักเงินไม่ใช่บัญชี QRV ที่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid QRV debit account.</source>
        <translation>บัญชีที่หักเงินไม่ใช่บัญชี QRV ที่ถูกต้อง</translation>
    </message>
    <message>
        <source>Credit account is invalid QRV account</source>
        <translation>บัญชีที่รับเงินไม่ใช่บัญชี QRV ที่ถูกต้อง</translation>
    </message>
    <message>
        <source>Credit account is invalid account</source>
        <translation>บัญชีที่รับเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid debit fee account</source>
        <translation>บัญชีที่หักค่าธรรมเนียมไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Reformat data fail because data are rejected all transactions</source>
        <translation>แปลงรูปแบบข้อมูลไม่สำเร็จ เนื่องจากทุกรายการถูกปฏิเสธ</translation>
    </message>
    <message>
        <source>Reformat data fail because some transactions are rejected</source>
        <translation>แปลงรูปแบบข้อมูลไม่สำเร็จ เนื่องจากมีบางรายการถูกปฏิเสธ</translation>
    </message>
    <message>
        <source>Reformat data and add to %1 completed</source>
        <translation>แปลงรูปแบบข้อมูลและเพิ่มลงใน %1 เรียบร้อยแล้ว</translation>
    </message>
    <message>
        <source>Convert 100 Million Complete</source>
        <translation>แปลงเป็นรูปแบบ 100M เรียบร้อยแล้ว</translation>
    </message>
    <message>
        <source>This payment file must have invoice data</source>
        <translation>ไฟล์การจ่ายเงินนี้ต้องมีข้อมูลใบแจ้งหนี้</translation>
    </message>
    <message>
        <source>Invoice file and payment file are missmatch</source>
        <translation>ไฟล์ใบแจ้งหนี้และไฟล์การจ่ายเงินไม่ตรงกัน</translation>
    </message>
    <message>
        <source>Length of line in the source file are missmatch for format cheque issuance</source>
        <translation>ความยาวบรรทัดในไฟล์ต้นทางไม่ตรงกับรูปแบบการออกเช็ค</translation>
    </message>
    <message>
        <source>Invalid Input File,Sum Amount not equal Total Amount.</source>
        <translation>ไฟล์ข้อมูลไม่ถูกต้อง ผลรวมยอดเงินไม่เท่ากับยอดเงินรวม</translation>
    </message>
    <message>
        <source>Incorrect file input. Please Check file</source>
        <translation>ไฟล์ข้อมูลไม่ถูกต้อง กรุณาตรวจสอบไฟล์</translation>
    </message>
    <message>
        <source>Incorrect file input. Please Check file Direct Debit Return</source>
        <translation>ไฟล์ข้อมูลไม่ถูกต้อง กรุณาตรวจสอบไฟล์ผลการหักบัญชีอัตโนมัติ</translation>
    </message>
    <message>
        <source>Please Input file </source>
        <translation>กรุณาเลือกไฟล์</translation>
    </message>
    <message>
        <source>Please Input file of Direct Debit Return File </source>
        <translation>กรุณาเลือกไฟล์ผลการหักบัญชีอัตโนมัติ</translation>
    </message>
    <message>
        <source>Please Select Destination file </source>
        <translation>กรุณาเลือกไฟล์ปลายทาง</translation>
    </message>
    <message>
        <source>Status Error. </source>
        <translation>สถานะไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Total Account is not match.</source>
        <translation>จำนวนบัญชีรวมไม่ตรงกัน</translation>
    </message>
    <message>
        <source>Total Amount is not match.</source>
        <translation>ยอดเงินรวมไม่ตรงกัน</translation>
    </message>
    <message>
        <source>%1Sent file line %2: account %3, amount %4. Return file line %5: account %6, amount %7.</source>
        <translation>%1ไฟล์ที่ส่ง บรรทัด %2: บัญชี %3 จำนวนเงิน %4 / ไฟล์จาก V5 บรรทัด %5: บัญชี %6 จำนวนเงิน %7</translation>
    </message>
    <message>
        <source>%1Sent file line %2: account %3, amount %4. Return file line %5: result &quot;%6&quot; is none of S, F, V, P.</source>
        <translation>%1ไฟล์ที่ส่ง บรรทัด %2: บัญชี %3 จำนวนเงิน %4 / ไฟล์จาก V5 บรรทัด %5: ผลลัพธ์ &quot;%6&quot; ไม่ใช่ S, F, V หรือ P</translation>
    </message>
    <message>
        <source>%1Sent file line %2: account %3, amount %4. Return file: no record left for it.</source>
        <translation>%1ไฟล์ที่ส่ง บรรทัด %2: บัญชี %3 จำนวนเงิน %4 / ไฟล์จาก V5: ไม่มีรายการเหลือให้จับคู่</translation>
    </message>
    <message>
        <source>%1Sent file: record count %2, total %3 baht. Return file line %4: record count %5, total %6 baht.</source>
        <translation>%1ไฟล์ที่ส่ง: จำนวนรายการ %2 ยอดรวม %3 บาท / ไฟล์จาก V5 บรรทัด %4: จำนวนรายการ %5 ยอดรวม %6 บาท</translation>
    </message>
    <message>
        <source>%1Sent file: record count %2, total %3 baht. Return file: no trailer record.</source>
        <translation>%1ไฟล์ที่ส่ง: จำนวนรายการ %2 ยอดรวม %3 บาท / ไฟล์จาก V5: ไม่มีรายการท้ายไฟล์</translation>
    </message>
    <message>
        <source>Incorrect Value Date</source>
        <translation>วันที่มีผลไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid EFFECTIVE-DATE</source>
        <translation>วันที่มีผลไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>EFFECTIVE-DATE should be today or future date</source>
        <translation>วันที่มีผลต้องเป็นวันนี้หรือวันในอนาคต</translation>
    </message>
    <message>
        <source>Invalid  EFFECTIVE DATE OF TRANSFER</source>
        <translation>วันที่โอนเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>EFFECTIVE DATE OF TRANSFER should be future date</source>
        <translation>วันที่โอนเงินต้องเป็นวันในอนาคต</translation>
    </message>
    <message>
        <source>Invalid  CHEQUE_DUE_DATE</source>
        <translation>วันที่ครบกำหนดของเช็คไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>CHEQUE_DUE_DATE should be today or future date</source>
        <translation>วันที่ครบกำหนดของเช็คต้องเป็นวันนี้หรือวันในอนาคต</translation>
    </message>
    <message>
        <source>Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter</source>
        <translation>กรุณากดปุ่มสร้างค่าแฮชก่อน หากการสร้างค่าแฮชมีข้อผิดพลาดจะออกหนังสือนำส่งไม่ได้</translation>
    </message>
    <message>
        <source>Amount must be 100M pattern.</source>
        <translation>ยอดเงินต้องอยู่ในรูปแบบ 100M</translation>
    </message>
    <message>
        <source>Character have not over 80 Character.</source>
        <translation>แต่ละบรรทัดต้องยาวไม่เกิน 80 ตัวอักษร</translation>
    </message>
    <message>
        <source>Detail Amount have not over 2,000,000</source>
        <translation>ยอดเงินแต่ละรายการต้องไม่เกิน 2,000,000</translation>
    </message>
    <message>
        <source>COMPANY CODE need to be Numberic (6 digits)</source>
        <translation>รหัสบริษัทต้องเป็นตัวเลข (6 หลัก)</translation>
    </message>
    <message>
        <source>TOTAL AMOUNT need to be Numberic (10 digit)</source>
        <translation>ยอดเงินรวมต้องเป็นตัวเลข (10 หลัก)</translation>
    </message>
    <message>
        <source>TOTAL AMOUNT need to be Numberic (11 digits)</source>
        <translation>ยอดเงินรวมต้องเป็นตัวเลข (11 หลัก)</translation>
    </message>
    <message>
        <source>TOTAL AMOUNT should be greater than zero</source>
        <translation>ยอดเงินรวมต้องมากกว่าศูนย์</translation>
    </message>
    <message>
        <source>TOTAL RECORD need to be Numberic (5 digits)</source>
        <translation>จำนวนรายการรวมต้องเป็นตัวเลข (5 หลัก)</translation>
    </message>
    <message>
        <source>TOTAL RECORD should be greater than zero</source>
        <translation>จำนวนรายการรวมต้องมากกว่าศูนย์</translation>
    </message>
    <message>
        <source>The company code holds a character that code page 874 cannot write</source>
        <translation>รหัสบริษัทมีอักขระที่ไม่อยู่ในชุดอักขระภาษาไทย 874</translation>
    </message>
    <message>
        <source>Nothing was written: the sheet holds no entry to write</source>
        <translation>ไม่ได้เขียนไฟล์: ไม่มีรายการในแผ่นงาน</translation>
    </message>
    <message>
        <source>Cannot open the user guide &quot;%1&quot;</source>
        <translation>ไม่สามารถเปิดคู่มือการใช้งาน &quot;%1&quot;</translation>
    </message>
    <message>
        <source>  %1</source>
        <translation>  %1</translation>
    </message>
    <message>
        <source>%1 </source>
        <translation>%1 </translation>
    </message>
    <message>
        <source> %1</source>
        <translation> %1</translation>
    </message>
    <message>
        <source>Account is zero</source>
        <translation>บัญชีเป็นศูนย์</translation>
    </message>
    <message>
        <source>Account is invalid QRV account</source>
        <translation>บัญชีไม่ใช่บัญชี QRV ที่ถูกต้อง</translation>
    </message>
    <message>
        <source>Credit account is zero or not numeric or invalid length</source>
        <translation>บัญชีที่รับเงินเป็นศูนย์ ไม่ใช่ตัวเลข หรือความยาวไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Credit amount is zero</source>
        <translation>ยอดเงินโอนเป็นศูนย์</translation>
    </message>
    <message>
        <source>Credit amount less than zero or invalid number</source>
        <translation>ยอดเงินโอนติดลบหรือไม่ใช่ตัวเลข</translation>
    </message>
    <message>
        <source>Invalid Account No</source>
        <translation>เลขที่บัญชีไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid Amount</source>
        <translation>ยอดเงินไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid Effective Date</source>
        <translation>วันที่มีผลไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Invalid Sign</source>
        <translation>เครื่องหมายไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Check Total Amount Error</source>
        <translation>ยอดเงินรวมไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Check Total Record Error</source>
        <translation>จำนวนรายการรวมไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Amount is not match.</source>
        <translation>ยอดเงินไม่ตรงกัน</translation>
    </message>
    <message>
        <source>Record is not match.</source>
        <translation>จำนวนรายการไม่ตรงกัน</translation>
    </message>
    <message>
        <source>Invalid ,Amount have not space .</source>
        <translation>ยอดเงินไม่ถูกต้อง ต้องไม่มีช่องว่าง</translation>
    </message>
    <message>
        <source>Invalid Input File,No.of Debit not equal Total Record .</source>
        <translation>ไฟล์ข้อมูลไม่ถูกต้อง จำนวนรายการหักบัญชีไม่เท่ากับจำนวนรายการรวม</translation>
    </message>
    <message>
        <source>Invalid numeric .</source>
        <translation>ตัวเลขไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>sign error</source>
        <translation>เครื่องหมายไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>Amount above 2,000,000.00 baht from another sending bank: voids the upload</source>
        <translation>ยอดเงินเกิน 2,000,000.00 บาท จากธนาคารผู้โอนอื่น: ไฟล์อัปโหลดเป็นโมฆะ</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>บรรทัด %1 คอลัมน์ %2: %3</translation>
    </message>
    <message>
        <source>%1 (%2, %3)</source>
        <translation>%1 (%2, %3)</translation>
    </message>
    <message>
        <source>columns %1</source>
        <translation>คอลัมน์ %1</translation>
    </message>
    <message>
        <source>column %1</source>
        <translation>คอลัมน์ %1</translation>
    </message>
    <message>
        <source>%1 digits</source>
        <translation>ตัวเลข %1 หลัก</translation>
    </message>
    <message>
        <source>%1 digit</source>
        <translation>ตัวเลข %1 หลัก</translation>
    </message>
    <message>
        <source>text</source>
        <translation>ข้อความ</translation>
    </message>
    <message>
        <source>amount, %1 decimals</source>
        <translation>จำนวนเงิน ทศนิยม %1 ตำแหน่ง</translation>
    </message>
    <message>
        <source>date %1</source>
        <translation>วันที่ %1</translation>
    </message>
    <message>
        <source>signed amount, %1 decimals</source>
        <translation>จำนวนเงินมีเครื่องหมาย ทศนิยม %1 ตำแหน่ง</translation>
    </message>
    <message>
        <source>code %1</source>
        <translation>รหัส %1</translation>
    </message>
    <message>
        <source>blank filler</source>
        <translation>ช่องว่าง</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>ไม่ได้อ่าน</translation>
    </message>
    <message>
        <source>Line %1: no layout of the %2 describes this line</source>
        <translation>บรรทัด %1: ไม่มีรูปแบบใดของ%2ที่ตรงกับบรรทัดนี้</translation>
    </message>
    <message>
        <source>past the end of the line</source>
        <translation>เลยท้ายบรรทัด</translation>
    </message>
    <message>
        <source>past the last column of a %1</source>
        <translation>เลยคอลัมน์สุดท้ายของ%1</translation>
    </message>
    <message>
        <source>by that layout %1</source>
        <translation>ตามรูปแบบนั้น %1</translation>
    </message>
    <message>
        <source>the line has %1 columns where a %2 has %3; %4</source>
        <translation>บรรทัดนี้มี %1 คอลัมน์ แต่%2มี %3 คอลัมน์; %4</translation>
    </message>
    <message>
        <source>&lt;&lt;--- !! Error Data ,you can view Error Report after This Message .---&gt;&gt;</source>
        <translation>&lt;&lt;--- !! ข้อมูลผิดพลาด ดูรายงานข้อผิดพลาดได้หลังข้อความนี้ ---&gt;&gt;</translation>
    </message>
    <message>
        <source>This file was converted on %1 into %2 (hash %3). Convert it again?</source>
        <translation>ไฟล์นี้ถูกแปลงแล้วเมื่อ %1 เป็นไฟล์ %2 (ค่าแฮช %3) ต้องการแปลงอีกครั้งหรือไม่?</translation>
    </message>
    <message>
        <source>Ran at</source>
        <translation>เวลาที่แปลง</translation>
    </message>
    <message>
        <source>User</source>
        <translation>ผู้ใช้</translation>
    </message>
    <message>
        <source>From</source>
        <translation>แปลงจาก</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>ผลิตภัณฑ์</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>บริษัท</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>ผลลัพธ์</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>จำนวนรายการ</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>ยอดรวม</translation>
    </message>
    <message>
        <source>Hash</source>
        <translation>ค่าแฮช</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>ไฟล์ต้นฉบับ</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>ไฟล์ปลายทาง</translation>
    </message>
    <message>
        <source>completed</source>
        <translation>สำเร็จ</translation>
    </message>
    <message>
        <source>all rejected</source>
        <translation>ถูกปฏิเสธทั้งหมด</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>ไม่ได้แปลง</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>ล้มเหลว</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>window</source>
        <translation>หน้าต่างโปรแกรม</translation>
    </message>
    <message>
        <source>qrv</source>
        <translation>บรรทัดคำสั่ง</translation>
    </message>
    <message>
        <source>Company Code</source>
        <translation>รหัสบริษัท</translation>
    </message>
    <message>
        <source>Voided with the file</source>
        <translation>ยกเลิกไปพร้อมกับไฟล์</translation>
    </message>
    <message>
        <source>Total voided: %1 baht</source>
        <translation>ยอดรวมที่ยกเลิก: %1 บาท</translation>
    </message>
    <message>
        <source>%1 of %2 entries were rejected and are not in the upload file: &quot;Show rejected lines&quot; in the Last run panel lists them.</source>
        <translation>ถูกปฏิเสธ %1 จาก %2 รายการ และไม่อยู่ในไฟล์อัปโหลด: ปุ่ม &quot;แสดงบรรทัดที่ถูกปฏิเสธ&quot; ในส่วนผลการทำงานครั้งล่าสุดแสดงรายการเหล่านั้น</translation>
    </message>
    <message>
        <source>Choose the column of &quot;%1&quot;, or type its text for every entry</source>
        <translation>เลือกคอลัมน์ของ &quot;%1&quot; หรือพิมพ์ค่าที่ใช้กับทุกรายการ</translation>
    </message>
    <message>
        <source>Type the text of &quot;%1&quot; for every entry, or choose its column</source>
        <translation>พิมพ์ค่าของ &quot;%1&quot; ที่ใช้กับทุกรายการ หรือเลือกคอลัมน์ของช่องนี้</translation>
    </message>
    <message>
        <source>Reading &quot;%1&quot;: %2</source>
        <translation>อ่านไฟล์ &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Left out as chosen: row %1</source>
        <translation>ไม่ใช้ตามที่เลือก: แถว %1</translation>
    </message>
    <message>
        <source>Left out as chosen: rows %1</source>
        <translation>ไม่ใช้ตามที่เลือก: แถว %1</translation>
    </message>
    <message>
        <source>Checked: %1 totalling %2 baht can be written to &quot;%3&quot;</source>
        <translation>ตรวจสอบแล้ว: %1 ยอดรวม %2 บาท เขียนลงไฟล์ &quot;%3&quot; ได้</translation>
    </message>
    <message>
        <source>Wrote %1 totalling %2 baht to &quot;%3&quot;</source>
        <translation>เขียน %1 ยอดรวม %2 บาท ลงไฟล์ &quot;%3&quot; แล้ว</translation>
    </message>
    <message>
        <source>CSV, %1, comma-separated</source>
        <translation>CSV, %1, คั่นด้วยจุลภาค</translation>
    </message>
    <message>
        <source>CSV, %1, semicolon-separated</source>
        <translation>CSV, %1, คั่นด้วยอัฒภาค</translation>
    </message>
    <message>
        <source>CSV, %1, tab-separated</source>
        <translation>CSV, %1, คั่นด้วยแท็บ</translation>
    </message>
    <message>
        <source>UTF-8 with byte-order mark</source>
        <translation>UTF-8 มีเครื่องหมายลำดับไบต์</translation>
    </message>
    <message>
        <source>code page 874 (Windows Thai)</source>
        <translation>รหัสอักขระ 874 (Windows ภาษาไทย)</translation>
    </message>
    <message>
        <source>XLSX, sheet &quot;%1&quot;</source>
        <translation>XLSX, แผ่นงาน &quot;%1&quot;</translation>
    </message>
    <message>
        <source>XLSX, sheet &quot;%1&quot; (a hidden sheet)</source>
        <translation>XLSX, แผ่นงาน &quot;%1&quot; (แผ่นงานที่ซ่อนอยู่)</translation>
    </message>
</context>
<context>
    <name>qrv::gui::AccountDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>ตกลง(&amp;O)</translation>
    </message>
    <message>
        <source>E&amp;XIT</source>
        <translation>ออก(&amp;X)</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>บัญชี</translation>
    </message>
    <message>
        <source>Account number</source>
        <translation>เลขที่บัญชี</translation>
    </message>
    <message>
        <source>Company account name</source>
        <translation>ชื่อบัญชีบริษัท</translation>
    </message>
    <message>
        <source>1-100 characters</source>
        <translation>1-100</translation>
    </message>
</context>
<context>
    <name>qrv::gui::BankWindow</name>
    <message>
        <source>Bank ::</source>
        <translation>ธนาคาร ::</translation>
    </message>
</context>
<context>
    <name>qrv::gui::BranchWindow</name>
    <message>
        <source>Branch ::</source>
        <translation>สาขา ::</translation>
    </message>
</context>
<context>
    <name>qrv::gui::CommandButtons</name>
    <message>
        <source>Version : %1</source>
        <translation>รุ่น : %1</translation>
    </message>
</context>
<context>
    <name>qrv::gui::FieldGrid</name>
    <message>
        <source>Company ID as registered with the bank: up to 12 characters, no &quot;/&quot; or &quot;\&quot;</source>
        <translation>รหัสประจำตัวบริษัทตามที่ลงทะเบียนไว้กับธนาคาร: ไม่เกิน 12 ตัวอักษร ห้ามมี &quot;/&quot; หรือ &quot;\&quot;</translation>
    </message>
    <message>
        <source>Home-bank account: 10 digits with check digit; the first 3 digits are the branch, the 4th the account type</source>
        <translation>บัญชีของธนาคาร: ตัวเลข 10 หลักพร้อมหลักตรวจสอบ 3 หลักแรกคือสาขา หลักที่ 4 คือประเภทบัญชี</translation>
    </message>
    <message>
        <source>Credit account: 10 digits; the first 3 are the branch, the 4th the type</source>
        <translation>บัญชีที่รับเงิน: ตัวเลข 10 หลัก 3 หลักแรกคือสาขา หลักที่ 4 คือประเภทบัญชี</translation>
    </message>
    <message>
        <source>Debit fee account: 10 digits; the first 3 are the branch, the 4th the type</source>
        <translation>บัญชีที่หักค่าธรรมเนียม: ตัวเลข 10 หลัก 3 หลักแรกคือสาขา หลักที่ 4 คือประเภทบัญชี</translation>
    </message>
    <message>
        <source>Company code: up to 6 characters</source>
        <translation>รหัสบริษัท: ไม่เกิน 6 ตัวอักษร</translation>
    </message>
    <message>
        <source>The payment text file to read (a file can be dropped here)</source>
        <translation>ไฟล์ข้อความการจ่ายเงินที่จะอ่าน (ลากไฟล์มาวางที่นี่ได้)</translation>
    </message>
    <message>
        <source>Immediately (00), End of Day (01) or Start of Day (02)</source>
        <translation>ทันที (00) สิ้นวัน (01) หรือต้นวัน (02)</translation>
    </message>
    <message>
        <source>The file to write; its folder also receives the error listings and the archive</source>
        <translation>ไฟล์ที่จะเขียน ไฟล์รายการข้อผิดพลาดและไฟล์บีบอัดจะอยู่ในโฟลเดอร์เดียวกัน</translation>
    </message>
    <message>
        <source>The hash line&apos;s 40 hexadecimal digits</source>
        <translation>ค่าแฮชของไฟล์ เลขฐานสิบหก 40 หลัก</translation>
    </message>
    <message>
        <source>Show the detail report, line by line, instead of the result report</source>
        <translation>แสดงรายงานรายละเอียดทีละบรรทัด แทนรายงานสรุปผล</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The comparison file to write: each debit of the file sent with its result</source>
        <translation>ไฟล์ผลการเปรียบเทียบที่จะเขียน: รายการหักบัญชีแต่ละรายการของไฟล์ที่ส่งพร้อมผลการทำรายการ</translation>
    </message>
    <message>
        <source>The return file from V5</source>
        <translation>ไฟล์ผลการหักบัญชีจาก V5</translation>
    </message>
    <message>
        <source>The converted file to write, in the 100M layout</source>
        <translation>ไฟล์ที่แปลงแล้วที่จะเขียน ในรูปแบบ 100M</translation>
    </message>
    <message>
        <source>The invoice file of the cheques</source>
        <translation>ไฟล์ใบแจ้งหนี้ของเช็ค</translation>
    </message>
</context>
<context>
    <name>qrv::gui::LoginDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>ตกลง(&amp;O)</translation>
    </message>
    <message>
        <source>Log in</source>
        <translation>เข้าสู่ระบบ</translation>
    </message>
    <message>
        <source>&amp;User Name</source>
        <translation>ชื่อผู้ใช้(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation>รหัสผ่าน(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>ยกเลิก(&amp;C)</translation>
    </message>
    <message>
        <source>Three wrong attempts: try again in 30 seconds.</source>
        <translation>ใส่ผิด 3 ครั้ง: กรุณาลองใหม่ในอีก 30 วินาที</translation>
    </message>
    <message>
        <source>Wrong user name or password.</source>
        <translation>ชื่อผู้ใช้หรือรหัสผ่านไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>You can log in again.</source>
        <translation>เข้าสู่ระบบได้อีกครั้งแล้ว</translation>
    </message>
    <message>
        <source>Three wrong attempts: try again in 1 second.</source>
        <translation>ใส่ผิด 3 ครั้ง: กรุณาลองใหม่ในอีก 1 วินาที</translation>
    </message>
    <message>
        <source>Three wrong attempts: try again in %1 seconds.</source>
        <translation>ใส่ผิด 3 ครั้ง: กรุณาลองใหม่ในอีก %1 วินาที</translation>
    </message>
</context>
<context>
    <name>qrv::gui::MainWindow</name>
    <message>
        <source>Open &amp;upload file...</source>
        <translation>เปิดไฟล์อัปโหลด(&amp;U)...</translation>
    </message>
    <message>
        <source>Open upload file</source>
        <translation>เปิดไฟล์อัปโหลด</translation>
    </message>
    <message>
        <source>Reformat Data</source>
        <translation>แปลงรูปแบบข้อมูล</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>หน้าต่าง(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Log in</source>
        <translation>เข้าสู่ระบบ(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Reformat Data</source>
        <translation>แปลงรูปแบบข้อมูล(&amp;R)</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>ไฟล์ที่ใช้ล่าสุด(&amp;F)</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>ออกจากโปรแกรม(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ช่วยเหลือ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <translation>คู่มือการใช้งาน(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;About Convertor QRV</source>
        <translation>เกี่ยวกับ Convertor QRV(&amp;A)</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(ไม่มี)</translation>
    </message>
    <message>
        <source>Convertor QRV: user guide</source>
        <translation>Convertor QRV: คู่มือการใช้งาน</translation>
    </message>
    <message>
        <source>About Convertor QRV</source>
        <translation>เกี่ยวกับ Convertor QRV</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>ภาษา</translation>
    </message>
    <message>
        <source>&amp;Run history</source>
        <translation>ประวัติการแปลงไฟล์(&amp;R)</translation>
    </message>
    <message>
        <source>View</source>
        <translation>มุมมอง</translation>
    </message>
    <message>
        <source>&lt;p&gt;Turns payment text files into upload files for the bank&apos;s host system V5.&lt;/p&gt;&lt;p&gt;Built with these libraries, under their licences:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %1: GNU LGPL version 3&lt;/li&gt;&lt;li&gt;SQLite: public domain&lt;/li&gt;&lt;li&gt;libzip: BSD 3-clause licence&lt;/li&gt;&lt;li&gt;OpenSSL (libcrypto): Apache License 2.0&lt;/li&gt;&lt;li&gt;Mustache for C++ (kainjow): Boost Software License 1.0&lt;/li&gt;&lt;li&gt;inih: BSD 3-clause licence&lt;/li&gt;&lt;li&gt;JSON for Modern C++ (nlohmann): MIT licence&lt;/li&gt;&lt;li&gt;CLI11 (command-line tool): BSD 3-clause licence&lt;/li&gt;&lt;li&gt;GNU C library iconv: GNU LGPL version 2.1 or later&lt;/li&gt;</source>
        <translation>&lt;p&gt;แปลงไฟล์ข้อความการจ่ายเงินเป็นไฟล์อัปโหลดสำหรับระบบหลัก V5 ของธนาคาร&lt;/p&gt;&lt;p&gt;สร้างด้วยไลบรารีต่อไปนี้ ภายใต้สัญญาอนุญาตของแต่ละรายการ:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Qt %1: GNU LGPL รุ่น 3&lt;/li&gt;&lt;li&gt;SQLite: สาธารณสมบัติ&lt;/li&gt;&lt;li&gt;libzip: สัญญาอนุญาต BSD 3 ข้อ&lt;/li&gt;&lt;li&gt;OpenSSL (libcrypto): Apache License 2.0&lt;/li&gt;&lt;li&gt;Mustache for C++ (kainjow): Boost Software License 1.0&lt;/li&gt;&lt;li&gt;inih: สัญญาอนุญาต BSD 3 ข้อ&lt;/li&gt;&lt;li&gt;JSON for Modern C++ (nlohmann): สัญญาอนุญาต MIT&lt;/li&gt;&lt;li&gt;CLI11 (เครื่องมือบรรทัดคำสั่ง): สัญญาอนุญาต BSD 3 ข้อ&lt;/li&gt;&lt;li&gt;GNU C library iconv: GNU LGPL รุ่น 2.1 ขึ้นไป&lt;/li&gt;</translation>
    </message>
    <message>
        <source>&lt;li&gt;Expat (reading spreadsheets): MIT licence&lt;/li&gt;</source>
        <translation>&lt;li&gt;Expat (อ่านไฟล์ตารางคำนวณ): สัญญาอนุญาต MIT&lt;/li&gt;</translation>
    </message>
    <message>
        <source>&lt;li&gt;qpdf (joining the parts of a large PDF): Apache License 2.0&lt;/li&gt;</source>
        <translation>&lt;li&gt;qpdf (รวมส่วนต่าง ๆ ของไฟล์ PDF ขนาดใหญ่): Apache License 2.0&lt;/li&gt;</translation>
    </message>
</context>
<context>
    <name>qrv::gui::MaintenancePanel</name>
    <message>
        <source>Back</source>
        <translation>ย้อนกลับ</translation>
    </message>
    <message>
        <source>Branch</source>
        <translation>สาขา</translation>
    </message>
    <message>
        <source>New</source>
        <translation>เพิ่ม</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>แก้ไข</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>View</source>
        <translation>แสดง</translation>
    </message>
    <message>
        <source>Code or name</source>
        <translation>รหัสหรือชื่อ</translation>
    </message>
    <message>
        <source>Code or name to find [Ctrl+F]</source>
        <translation>รหัสหรือชื่อที่ต้องการค้นหา [Ctrl+F]</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>ค้นหา</translation>
    </message>
    <message>
        <source>Find the next row holding the text [Ctrl+F, Enter]</source>
        <translation>ค้นหาแถวถัดไปที่มีข้อความนี้ [Ctrl+F, Enter]</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>นำเข้า</translation>
    </message>
    <message>
        <source>Import banks from a CSV file [Ctrl+I]</source>
        <translation>นำเข้าข้อมูลธนาคารจากไฟล์ CSV [Ctrl+I]</translation>
    </message>
    <message>
        <source>Import branches from a CSV file [Ctrl+I]</source>
        <translation>นำเข้าข้อมูลสาขาจากไฟล์ CSV [Ctrl+I]</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>บันทึก</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>Import banks</source>
        <translation>นำเข้าข้อมูลธนาคาร</translation>
    </message>
    <message>
        <source>Import branches</source>
        <translation>นำเข้าข้อมูลสาขา</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*.*)</source>
        <translation>ไฟล์ CSV (*.csv);;ทุกไฟล์ (*.*)</translation>
    </message>
</context>
<context>
    <name>qrv::gui::ReportPreview</name>
    <message>
        <source>Find &amp;Next</source>
        <translation>ค้นหาถัดไป(&amp;N)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>Preparing the pages...</source>
        <translation>กำลังเตรียมหน้ารายงาน...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>พิมพ์(&amp;P)...</translation>
    </message>
    <message>
        <source>Save as P&amp;DF...</source>
        <translation>บันทึกเป็น PDF(&amp;D)...</translation>
    </message>
    <message>
        <source>Save as &amp;HTML...</source>
        <translation>บันทึกเป็น HTML(&amp;H)...</translation>
    </message>
    <message>
        <source>&amp;Load...</source>
        <translation>เปิดรายงาน(&amp;L)...</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>ค้นหา(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>ปิด(&amp;C)</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>ขยาย(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>ย่อ(&amp;O)</translation>
    </message>
    <message>
        <source>Fit &amp;Width</source>
        <translation>พอดีความกว้าง(&amp;W)</translation>
    </message>
    <message>
        <source>One Pa&amp;ge</source>
        <translation>ทีละหน้า(&amp;G)</translation>
    </message>
    <message>
        <source>All Pag&amp;es</source>
        <translation>ทุกหน้า(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>ข้อความ(&amp;T)</translation>
    </message>
    <message>
        <source>Pre&amp;vious</source>
        <translation>ก่อนหน้า(&amp;V)</translation>
    </message>
    <message>
        <source>Page </source>
        <translation>หน้า </translation>
    </message>
    <message>
        <source>Ne&amp;xt</source>
        <translation>ถัดไป(&amp;X)</translation>
    </message>
    <message>
        <source>Find &amp;text:</source>
        <translation>ค้นหาข้อความ(&amp;T):</translation>
    </message>
    <message>
        <source>Searching %p%</source>
        <translation>กำลังค้นหา %p%</translation>
    </message>
    <message>
        <source>The pages could not be prepared:
%1</source>
        <translation>ไม่สามารถเตรียมหน้ารายงานได้:
%1</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>รายงาน</translation>
    </message>
    <message>
        <source>Report - %1</source>
        <translation>รายงาน - %1</translation>
    </message>
    <message>
        <source> of ... </source>
        <translation> จาก ... </translation>
    </message>
    <message>
        <source> of %1 </source>
        <translation> จาก %1 </translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation>ไม่พบ &quot;%1&quot;</translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation>ไม่สามารถเปิดไฟล์ได้</translation>
    </message>
    <message>
        <source>it could not be written whole</source>
        <translation>เขียนไฟล์ได้ไม่ครบ</translation>
    </message>
    <message>
        <source>The report was saved as PDF (1 page):</source>
        <translation>บันทึกรายงานเป็น PDF แล้ว (1 หน้า):</translation>
    </message>
    <message>
        <source>The report was saved as PDF (%1 pages):</source>
        <translation>บันทึกรายงานเป็น PDF แล้ว (%1 หน้า):</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>เปิด(&amp;O)</translation>
    </message>
    <message>
        <source>No program opened %1: open it from its folder.</source>
        <translation>ไม่มีโปรแกรมเปิด %1 ได้ กรุณาเปิดจากโฟลเดอร์ของไฟล์</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>บันทึกเป็น PDF</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>มีไฟล์ %1 อยู่แล้ว
ต้องการเขียนทับหรือไม่</translation>
    </message>
    <message>
        <source>Saving the report as PDF:
%1</source>
        <translation>กำลังบันทึกรายงานเป็น PDF:
%1</translation>
    </message>
    <message>
        <source>Save as HTML</source>
        <translation>บันทึกเป็น HTML</translation>
    </message>
    <message>
        <source>Load report</source>
        <translation>เปิดรายงาน</translation>
    </message>
    <message>
        <source>PDF files (*.pdf);;All files (*.*)</source>
        <translation>ไฟล์ PDF (*.pdf);;ทุกไฟล์ (*.*)</translation>
    </message>
    <message>
        <source>HTML files (*.html *.htm);;All files (*.*)</source>
        <translation>ไฟล์ HTML (*.html *.htm);;ทุกไฟล์ (*.*)</translation>
    </message>
</context>
<context>
    <name>qrv::gui::ResultPanel</name>
    <message>
        <source>Last run</source>
        <translation>ผลการทำงานครั้งล่าสุด</translation>
    </message>
    <message>
        <source>Result of the last run</source>
        <translation>ผลการทำงานครั้งล่าสุด</translation>
    </message>
    <message>
        <source>Files written</source>
        <translation>ไฟล์ที่เขียน</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>เปิดโฟลเดอร์</translation>
    </message>
    <message>
        <source>Open listing</source>
        <translation>เปิดไฟล์รายการข้อผิดพลาด</translation>
    </message>
    <message>
        <source>Show rejected lines</source>
        <translation>แสดงบรรทัดที่ถูกปฏิเสธ</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written</source>
        <translation>ยกเลิกแล้ว: ไม่ได้เขียนไฟล์ใด ๆ</translation>
    </message>
    <message>
        <source>the folder</source>
        <translation>โฟลเดอร์</translation>
    </message>
    <message>
        <source>the file</source>
        <translation>ไฟล์</translation>
    </message>
    <message>
        <source>Nothing could open %1 &quot;%2&quot;: this desktop has no program set to open it.</source>
        <translation>ไม่สามารถเปิด%1 &quot;%2&quot; ได้ เนื่องจากเครื่องนี้ไม่มีโปรแกรมที่ตั้งไว้สำหรับเปิด</translation>
    </message>
</context>
<context>
    <name>qrv::gui::RunHistoryWindow</name>
    <message>
        <source>Run history</source>
        <translation>ประวัติการแปลงไฟล์</translation>
    </message>
    <message>
        <source>Runs, newest first</source>
        <translation>รายการแปลงไฟล์ ล่าสุดก่อน</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>เปิดโฟลเดอร์</translation>
    </message>
    <message>
        <source>Copy hash</source>
        <translation>คัดลอกค่าแฮช</translation>
    </message>
    <message>
        <source>Any company</source>
        <translation>ทุกบริษัท</translation>
    </message>
    <message>
        <source>Any product</source>
        <translation>ทุกผลิตภัณฑ์</translation>
    </message>
    <message>
        <source>From</source>
        <translation>ตั้งแต่</translation>
    </message>
    <message>
        <source>To</source>
        <translation>ถึง</translation>
    </message>
    <message>
        <source>&amp;Company</source>
        <translation>บริษัท(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Product</source>
        <translation>ผลิตภัณฑ์(&amp;P)</translation>
    </message>
    <message>
        <source>Nothing could open the folder &quot;%1&quot;: it is gone, or this desktop has no program set to open it.</source>
        <translation>ไม่สามารถเปิดโฟลเดอร์ "%1" ได้: โฟลเดอร์ไม่มีอยู่แล้ว หรือเครื่องนี้ไม่มีโปรแกรมที่ตั้งไว้สำหรับเปิด</translation>
    </message>
    <message numerus="yes">
        <source>%n run(s)</source>
        <translation>
            <numerusform>%n รายการ</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qrv::gui::RunPane</name>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>Finishing...</source>
        <translation>กำลังจบงาน...</translation>
    </message>
    <message>
        <source>Stop the running command (Esc); nothing it has not finished is written</source>
        <translation>หยุดคำสั่งที่กำลังทำงาน (Esc) ส่วนที่ยังไม่เสร็จจะไม่ถูกเขียน</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>กำลังยกเลิก...</translation>
    </message>
    <message>
        <source>The command stops at its next step; nothing is written</source>
        <translation>คำสั่งจะหยุดในขั้นตอนถัดไป และจะไม่เขียนไฟล์ใด ๆ</translation>
    </message>
    <message>
        <source>The command is putting its files in place and can no longer be cancelled</source>
        <translation>คำสั่งกำลังบันทึกไฟล์ผลลัพธ์ ยกเลิกไม่ได้แล้ว</translation>
    </message>
    <message>
        <source>Preparing the report...</source>
        <translation>กำลังเตรียมรายงาน...</translation>
    </message>
</context>
<context>
    <name>qrv::gui::SheetMappingDialog</name>
    <message>
        <source>Source file from a spreadsheet</source>
        <translation>สร้างไฟล์ต้นทางจากสเปรดชีต</translation>
    </message>
    <message>
        <source>Day, month, year</source>
        <translation>วัน เดือน ปี</translation>
    </message>
    <message>
        <source>Month, day, year</source>
        <translation>เดือน วัน ปี</translation>
    </message>
    <message>
        <source>Year, month, day</source>
        <translation>ปี เดือน วัน</translation>
    </message>
    <message>
        <source>Common Era (2026)</source>
        <translation>คริสต์ศักราช (2026)</translation>
    </message>
    <message>
        <source>Buddhist Era (2569)</source>
        <translation>พุทธศักราช (2569)</translation>
    </message>
    <message>
        <source>&amp;Check rows</source>
        <translation>ตรวจสอบแถว(&amp;C)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ตกลง</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
    <message>
        <source>Sheet: %1</source>
        <translation>แผ่นงาน: %1</translation>
    </message>
    <message>
        <source>Source file to build: %1</source>
        <translation>ไฟล์ต้นทางที่จะสร้าง: %1</translation>
    </message>
    <message>
        <source>No source file of product &quot;%1&quot; is built from a sheet</source>
        <translation>รายการ &quot;%1&quot; ไม่มีไฟล์ต้นทางที่สร้างจากแผ่นงาน</translation>
    </message>
    <message>
        <source>(not mapped)</source>
        <translation>(ไม่ได้กำหนด)</translation>
    </message>
    <message>
        <source>(always %1)</source>
        <translation>(คงที่ %1)</translation>
    </message>
    <message>
        <source>Fixed value:</source>
        <translation>ค่าคงที่:</translation>
    </message>
    <message>
        <source>Dates</source>
        <translation>รูปแบบวันที่</translation>
    </message>
    <message>
        <source>Years</source>
        <translation>ศักราช</translation>
    </message>
    <message>
        <source>Rows that cannot be placed, and what the check found:</source>
        <translation>แถวที่นำไปใช้ไม่ได้ และสิ่งที่การตรวจสอบพบ:</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... และอีก %1 แถว</translation>
    </message>
    <message>
        <source>The sheet&apos;s first rows</source>
        <translation>แถวแรก ๆ ของแผ่นงาน</translation>
    </message>
    <message>
        <source>Header row</source>
        <translation>แถวหัวคอลัมน์</translation>
    </message>
    <message>
        <source>Hidden rows</source>
        <translation>แถวที่ซ่อนอยู่</translation>
    </message>
    <message>
        <source>Stop and name them</source>
        <translation>หยุด และแจ้งแถวที่ซ่อน</translation>
    </message>
    <message>
        <source>Leave them out</source>
        <translation>ไม่นำมาใช้</translation>
    </message>
    <message>
        <source>Include them</source>
        <translation>นำมาใช้ด้วย</translation>
    </message>
    <message>
        <source>Leave out the rows that cannot be placed</source>
        <translation>ไม่นำแถวที่นำไปใช้ไม่ได้มาใช้</translation>
    </message>
    <message>
        <source>&amp;Leave out the selected rows</source>
        <translation>ไม่ใช้แถวที่เลือก(&amp;L)</translation>
    </message>
    <message>
        <source>Rows that cannot be placed, and what the check found</source>
        <translation>แถวที่นำไปใช้ไม่ได้ และสิ่งที่การตรวจสอบพบ</translation>
    </message>
    <message>
        <source>%1 (hidden)</source>
        <translation>%1 (ซ่อน)</translation>
    </message>
    <message>
        <source>%1 (left out)</source>
        <translation>%1 (ไม่ใช้)</translation>
    </message>
    <message>
        <source>%1 (header)</source>
        <translation>%1 (หัวคอลัมน์)</translation>
    </message>
    <message>
        <source>No row is left out.</source>
        <translation>ใช้ทุกแถว</translation>
    </message>
    <message>
        <source>Rows left out: %1</source>
        <translation>แถวที่ไม่ใช้: %1</translation>
    </message>
    <message>
        <source>&amp;Header row</source>
        <translation>แถวหัวคอลัมน์(&amp;H)</translation>
    </message>
    <message>
        <source>Row %1: %2</source>
        <translation>แถว %1: %2</translation>
    </message>
    <message>
        <source>%1, fixed value</source>
        <translation>%1 ค่าคงที่</translation>
    </message>
    <message>
        <source>No column of the header row is &quot;%1&quot; (for %2)</source>
        <translation>ไม่มีคอลัมน์ &quot;%1&quot; ในแถวหัวคอลัมน์ (สำหรับ %2)</translation>
    </message>
    <message>
        <source>Close without building the source file, and lose the mapping made here?</source>
        <translation>ต้องการปิดโดยไม่สร้างไฟล์ต้นทาง และทิ้งการจับคู่คอลัมน์ที่ทำไว้หรือไม่</translation>
    </message>
</context>
<context>
    <name>qrv::gui::SourceViewer</name>
    <message>
        <source>Rejected lines - %1</source>
        <translation>บรรทัดที่ถูกปฏิเสธ - %1</translation>
    </message>
    <message>
        <source>Rejected entries</source>
        <translation>รายการที่ถูกปฏิเสธ</translation>
    </message>
    <message>
        <source>Source file</source>
        <translation>ไฟล์ต้นทาง</translation>
    </message>
    <message>
        <source>Line %1, column %2</source>
        <translation>บรรทัด %1 คอลัมน์ %2</translation>
    </message>
    <message>
        <source>1 rejected entry in %1</source>
        <translation>รายการที่ถูกปฏิเสธ 1 รายการใน %1</translation>
    </message>
    <message>
        <source>%1 rejected entries in %2</source>
        <translation>รายการที่ถูกปฏิเสธ %1 รายการใน %2</translation>
    </message>
    <message>
        <source>Source file - %1</source>
        <translation>ไฟล์ต้นทาง - %1</translation>
    </message>
</context>
<context>
    <name>qrv::gui::WorkbenchWindow</name>
    <message>
        <source>Version %1</source>
        <translation>รุ่น %1</translation>
    </message>
    <message>
        <source>Reformat Data</source>
        <translation>แปลงรูปแบบข้อมูล</translation>
    </message>
    <message>
        <source>A command is finishing: its files are being put in place.
Quit when it has ended?</source>
        <translation>คำสั่งกำลังจบงานและบันทึกไฟล์ผลลัพธ์
ออกจากโปรแกรมเมื่อเสร็จแล้วหรือไม่</translation>
    </message>
    <message>
        <source>A command is running.
Cancel it and quit? Nothing it has not finished is written.</source>
        <translation>มีคำสั่งกำลังทำงาน
ยกเลิกคำสั่งแล้วออกจากโปรแกรมหรือไม่ ส่วนที่ยังไม่เสร็จจะไม่ถูกเขียน</translation>
    </message>
</context>
</TS>
