-- Pn definitions of the Trelvox drive, English names; same rows as servo_params3.
DROP TABLE IF EXISTS servo_params4;
CREATE TABLE servo_params4 (
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
INSERT INTO servo_params4 (id, func_code, address, name, "group", default_val, range, unit, description, property, related_mode, format) VALUES
(1, 'Pn000', '0x0000', 'Control mode', '0/Basic settings', '0', '0~2', '', '0: Position\n1: Speed\n2: Torque', 'RW', 'P/S/T', 'uint16'),
(2, 'Pn001', '0x0001', 'Rotation direction', '0/Basic settings', '0', '0~1', '', '0: Counter-clockwise is forward\n1: Clockwise is forward', 'RW', 'P/S/T', 'uint16'),
(3, 'Pn002', '0x0002', 'Motor code', '0/Basic settings', '0x0000', '0x0000~0xFFFF', '', 'Code of the fitted motor; 0 reads it from the encoder', 'RW', 'P/S/T', 'uint16'),
(4, 'Pn003', '0x0003', 'Electronic gear numerator', '1/Position control', '1', '1~1073741824', '', 'Motor encoder pulses per command pulse, numerator', 'RW', 'P', 'int32'),
(5, 'Pn005', '0x0005', 'Electronic gear denominator', '1/Position control', '1', '1~1073741824', '', 'Motor encoder pulses per command pulse, denominator', 'RW', 'P', 'int32'),
(6, 'Pn007', '0x0007', 'Position loop gain', '2/Gain&&1/Position control', '40.0', '0.0~2000.0', '1/s', 'Higher values follow the command more tightly but may overshoot', 'RW', 'P', 'uint16'),
(7, 'Pn008', '0x0008', 'Speed loop gain', '2/Gain', '25.0', '1.0~2000.0', 'Hz', 'Raise until the motor hums, then back off by a fifth', 'RW', 'P/S', 'uint16'),
(8, 'Pn009', '0x0009', 'Speed loop integral time', '2/Gain', '31.83', '0.15~512.00', 'ms', 'Shorter times remove steady speed error faster', 'RW', 'P/S', 'uint16'),
(9, 'Pn010', '0x000A', 'Speed limit', '3/Speed control', '3000', '0~6000', 'rpm', 'Highest motor speed in every mode', 'RW', 'P/S/T', 'uint16'),
(10, 'Pn011', '0x000B', 'Acceleration time', '3/Speed control', '100', '0~10000', 'ms', 'Time from 0 to 1000 rpm', 'RW', 'S', 'uint16'),
(11, 'Pn012', '0x000C', 'Deceleration time', '3/Speed control', '100', '0~10000', 'ms', 'Time from 1000 rpm to 0', 'RW', 'S', 'uint16'),
(12, 'Pn013', '0x000D', 'Forward torque limit', '4/Torque control', '300.0', '0.0~500.0', '%', 'Percent of rated torque', 'RW', 'P/S/T', 'uint16'),
(13, 'Pn014', '0x000E', 'Reverse torque limit', '4/Torque control', '300.0', '0.0~500.0', '%', 'Percent of rated torque', 'RW', 'P/S/T', 'uint16'),
(14, 'Pn015', '0x000F', 'Station address', '5/Communication', '1', '1~247', '', 'Modbus slave address of the drive', 'RW', 'P/S/T', 'uint16');
