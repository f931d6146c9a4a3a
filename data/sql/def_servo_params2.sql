-- Pn definitions of the low-voltage drive.
DROP TABLE IF EXISTS servo_params2;
CREATE TABLE servo_params2 (
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
INSERT INTO servo_params2 (id, func_code, address, name, "group", default_val, range, unit, description, property, related_mode, format) VALUES
(1, 'Pn000', '0x0000', 'Control mode', '0/Basic settings', '0', '0~2', '', '0: Position\n1: Speed\n2: Torque', 'RW', 'P/S/T', 'uint16'),
(2, 'Pn001', '0x0001', 'Rotation direction', '0/Basic settings', '0', '0~1', '', '0: Counter-clockwise is forward\n1: Clockwise is forward', 'RW', 'P/S/T', 'uint16'),
(3, 'Pn002', '0x0002', 'Supply voltage', '0/Basic settings', '48', '24~60', 'V', 'Nominal DC supply of the drive', 'RW', 'P/S/T', 'uint16'),
(4, 'Pn003', '0x0003', 'Encoder resolution', '0/Basic settings', '10000', '1000~1048576', 'pulse/r', 'Pulses per motor revolution', 'RW', 'P/S/T', 'int32'),
(5, 'Pn005', '0x0005', 'Position loop gain', '1/Gain', '30.0', '0.0~1000.0', '1/s', 'Higher values follow the command more tightly but may overshoot', 'RW', 'P', 'uint16'),
(6, 'Pn006', '0x0006', 'Speed loop gain', '1/Gain', '20.0', '1.0~1000.0', 'Hz', 'Raise until the motor hums, then back off by a fifth', 'RW', 'P/S', 'uint16'),
(7, 'Pn007', '0x0007', 'Speed loop integral time', '1/Gain', '20.00', '0.15~512.00', 'ms', 'Shorter times remove steady speed error faster', 'RW', 'P/S', 'uint16'),
(8, 'Pn008', '0x0008', 'Speed limit', '2/Motion', '3000', '0~5000', 'rpm', 'Highest motor speed in every mode', 'RW', 'P/S/T', 'uint16'),
(9, 'Pn009', '0x0009', 'Acceleration time', '2/Motion', '50', '0~5000', 'ms', 'Time from 0 to 1000 rpm', 'RW', 'S', 'uint16'),
(10, 'Pn010', '0x000A', 'Deceleration time', '2/Motion', '50', '0~5000', 'ms', 'Time from 1000 rpm to 0', 'RW', 'S', 'uint16'),
(11, 'Pn011', '0x000B', 'Peak current', '2/Motion', '15.0', '0.0~30.0', 'A', 'Current limit of the output stage', 'RW', 'P/S/T', 'uint16'),
(12, 'Pn012', '0x000C', 'Station address', '3/Communication', '1', '1~247', '', 'Modbus slave address of the drive', 'RW', 'P/S/T', 'uint16'),
(13, 'Pn013', '0x000D', 'Baud rate', '3/Communication', '5', '0~5', '', '0: 4800\n1: 9600\n2: 19200\n3: 38400\n4: 57600\n5: 115200', 'RW', 'P/S/T', 'uint16'),
(14, 'Pn014', '0x000E', 'Analog torque offset', '2/Motion', '0.00', '-5.00~5.00', 'V', 'Added to the analog torque input', 'RW', 'T', 'int16'),
(15, 'Pn015', '0x000F', 'Target position', '4/Position&&2/Motion', '0', '-2147483648~2147483647', 'pulse', 'Absolute target of a position move\nHigh word first', 'RW', 'P', 'int32H'),
(16, 'Pn017', '0x0011', 'Position window', '4/Position', '10', '0~65535', 'pulse', 'In position once the error stays inside this window', 'RW', 'P', 'uint16'),
(17, 'Pn018', '0x0012', 'Following error limit', '4/Position', '20000', '0~2147483647', 'pulse', 'A larger following error raises an alarm\nLow word first', 'RW', 'P', 'int32L'),
(18, 'Pn020', '0x0014', 'Input polarity', '5/Inputs and outputs', '0x0000', '0x0000~0x000F', '', 'A set bit inverts its input\nBit 0: Enable\nBit 1: Forward limit\nBit 2: Reverse limit\nBit 3: Home', 'RW', 'P/S/T', 'uint16'),
(19, 'Pn021', '0x0015', 'Output function', '5/Inputs and outputs', '0x0001', '0x0000~0x00FF', '', 'Bit 0: Ready\nBit 1: Alarm\nBit 2: In position\nBit 3: Brake release', 'RW', 'P/S/T', 'uint16'),
(20, 'Pn022', '0x0016', 'Current filter time', '1/Gain', '0.50', '0.00~10.00', 'ms', 'Low-pass filter on the current command', 'RW', 'P/S/T', 'uint16'),
(21, 'Pn023', '0x0017', 'Brake release delay', '5/Inputs and outputs&&2/Motion', '50', '0~1000', 'ms', 'Time between servo on and brake release', 'RW', 'P/S/T', 'uint16');
