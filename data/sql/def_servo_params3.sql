-- Pn definitions of the Trelvox drive, Chinese names; servo_params4 is the English twin.
DROP TABLE IF EXISTS servo_params3;
CREATE TABLE servo_params3 (
    id INTEGER PRIMARY KEY,
    func_code TEXT,
    address TEXT,
    name TEXT,
    "group" TEXT,
    default_val TEXT,
    range TEXT,
    unit TEXT,
    description TEXT,
    property TEXT,
    related_mode TEXT,
    format TEXT
);
INSERT INTO servo_params3 (id, func_code, address, name, "group", default_val, range, unit, description, property, related_mode, format) VALUES
(1, 'Pn000', '0x0000', '控制模式', '0/基本设置', '0', '0~2', '', '0: 位置模式\n1: 速度模式\n2: 转矩模式', 'RW', 'P/S/T', 'uint16'),
(2, 'Pn001', '0x0001', '旋转方向', '0/基本设置', '0', '0~1', '', '0: 逆时针为正向\n1: 顺时针为正向', 'RW', 'P/S/T', 'uint16'),
(3, 'Pn002', '0x0002', '电机编号', '0/基本设置', '0x0000', '0x0000~0xFFFF', '', '所接电机的编号；为0时从编码器读取', 'RW', 'P/S/T', 'uint16'),
(4, 'Pn003', '0x0003', '电子齿轮分子', '1/位置控制', '1', '1~1073741824', '', '每个指令脉冲对应的编码器脉冲数（分子）', 'RW', 'P', 'int32'),
(5, 'Pn005', '0x0005', '电子齿轮分母', '1/位置控制', '1', '1~1073741824', '', '每个指令脉冲对应的编码器脉冲数（分母）', 'RW', 'P', 'int32'),
(6, 'Pn007', '0x0007', '位置环增益', '2/增益调整&&1/位置控制', '40.0', '0.0~2000.0', '1/s', '数值越大跟随越紧，过大会超调', 'RW', 'P', 'uint16'),
(7, 'Pn008', '0x0008', '速度环增益', '2/增益调整', '25.0', '1.0~2000.0', 'Hz', '增大至电机发出啸叫后回调两成', 'RW', 'P/S', 'uint16'),
(8, 'Pn009', '0x0009', '速度环积分时间', '2/增益调整', '31.83', '0.15~512.00', 'ms', '时间越短，稳态速度误差消除越快', 'RW', 'P/S', 'uint16'),
(9, 'Pn010', '0x000A', '速度限制', '3/速度控制', '3000', '0~6000', 'rpm', '各模式下的最高转速', 'RW', 'P/S/T', 'uint16'),
(10, 'Pn011', '0x000B', '加速时间', '3/速度控制', '100', '0~10000', 'ms', '从0加速到1000 rpm的时间', 'RW', 'S', 'uint16'),
(11, 'Pn012', '0x000C', '减速时间', '3/速度控制', '100', '0~10000', 'ms', '从1000 rpm减速到0的时间', 'RW', 'S', 'uint16'),
(12, 'Pn013', '0x000D', '正向转矩限制', '4/转矩控制', '300.0', '0.0~500.0', '%', '额定转矩的百分比', 'RW', 'P/S/T', 'uint16'),
(13, 'Pn014', '0x000E', '反向转矩限制', '4/转矩控制', '300.0', '0.0~500.0', '%', '额定转矩的百分比', 'RW', 'P/S/T', 'uint16'),
(14, 'Pn015', '0x000F', '站号', '5/通讯设置', '1', '1~247', '', '驱动器的Modbus从站地址', 'RW', 'P/S/T', 'uint16');
