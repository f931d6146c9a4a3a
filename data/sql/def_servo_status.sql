-- Status values a drive reports per axis, at register 56900 + record number + 100 x axis.
-- The digits of func_code are the record number, counted from 0 in row order. A range with a
-- negative minimum marks a signed 16-bit value. value_text maps values to texts:
-- "value:text/value:text".
DROP TABLE IF EXISTS servo_status;
CREATE TABLE servo_status (
    func_code TEXT,
    name TEXT,
    range TEXT,
    decimals INTEGER,
    unit TEXT,
    value_text TEXT
);
INSERT INTO servo_status (func_code, name, range, decimals, unit, value_text) VALUES
('Un000', 'Motor speed', '-6000~6000', 0, 'rpm', ''),
('Un001', 'Alarm code', '0~65535', 0, '', ''),
('Un002', 'Torque command', '-500.0~500.0', 1, '%', ''),
('Un003', 'DC bus voltage', '0.0~1000.0', 1, 'V', ''),
('Un004', 'Servo state', '0~3', 0, '', '0:Not ready/1:Ready/2:Running/3:Fault'),
('Un005', 'Input terminals', '0x0000~0xFFFF', 0, '', ''),
('Un006', 'Heat sink temperature', '-20.0~150.0', 1, '°C', ''),
('Un007', 'Brake output', '0~1', 0, '', '0:Off/1:On');
