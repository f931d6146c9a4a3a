-- Application parameters of the screwdriver controller.
-- group: "page key/task/page" entries joined by "&&" ("*" as task: every task).
-- tableInfo: "table1/row N/col M" for a step cell (name "step/column"), "table2" for a list row.
DROP TABLE IF EXISTS appParams_sdriver;
CREATE TABLE appParams_sdriver (
    id INTEGER PRIMARY KEY,
    address TEXT,
    name TEXT,
    "group" TEXT,
    tableInfo TEXT,
    range TEXT,
    unit TEXT,
    description TEXT
);
INSERT INTO appParams_sdriver (id, address, name, "group", tableInfo, range, unit, description) VALUES
(1, '0x0C20', 'Step1/Turns', '1/Task0/Steps', 'table1/row 0/col 1', '0.00~99.99', 'r', 'Turns of the seating step'),
(2, '0x0C21', 'Step1/Speed', '1/Task0/Steps', 'table1/row 0/col 2', '0~3000', 'rpm', 'Speed of the seating step'),
(3, '0x0C22', 'Step2/Turns', '1/Task0/Steps', 'table1/row 1/col 1', '0.00~99.99', 'r', 'Turns of the run-down step'),
(4, '0x0C23', 'Step2/Speed', '1/Task0/Steps', 'table1/row 1/col 2', '0~3000', 'rpm', 'Speed of the run-down step'),
(5, '0x0C24', 'Step3/Turns', '1/Task0/Steps', 'table1/row 2/col 1', '0.00~99.99', 'r', 'Turns of the tightening step'),
(6, '0x0C25', 'Step3/Speed', '1/Task0/Steps', 'table1/row 2/col 2', '0~3000', 'rpm', 'Speed of the tightening step'),
(7, '0x0C26', 'Target torque', '1/Task0/Steps', 'table2', '0.00~10.00', 'N·m', 'Torque at which tightening stops'),
(8, '0x0C27', 'Minimum turns', '2/Task0/Limits', 'table2', '0.00~99.99', 'r', 'Fewer turns at target torque: float lock'),
(9, '0x0C28', 'Maximum turns', '2/Task0/Limits', 'table2', '0.00~99.99', 'r', 'More turns without target torque: slip'),
(10, '0x0C29', 'Maximum time', '2/Task0/Limits', 'table2', '0.000~30.000', 's', 'A cycle running longer is stopped as undone'),
(11, '3136', 'Step1/Turns', '3/Task1/Steps', 'table1/row 0/col 1', '0.00~99.99', 'r', 'Turns of the seating step'),
(12, '3137', 'Step1/Speed', '3/Task1/Steps', 'table1/row 0/col 2', '0~3000', 'rpm', 'Speed of the seating step'),
(13, '3138', 'Step2/Turns', '3/Task1/Steps', 'table1/row 1/col 1', '0.00~99.99', 'r', 'Turns of the tightening step'),
(14, '3139', 'Step2/Speed', '3/Task1/Steps', 'table1/row 1/col 2', '0~3000', 'rpm', 'Speed of the tightening step'),
(15, '3140', 'Target torque', '3/Task1/Steps', 'table2', '0.00~10.00', 'N·m', 'Torque at which tightening stops'),
(16, '3141', 'Minimum turns', '4/Task1/Limits', 'table2', '0.00~99.99', 'r', 'Fewer turns at target torque: float lock'),
(17, '3142', 'Maximum turns', '4/Task1/Limits', 'table2', '0.00~99.99', 'r', 'More turns without target torque: slip'),
(18, '3143', 'Maximum time', '4/Task1/Limits', 'table2', '0.000~30.000', 's', 'A cycle running longer is stopped as undone'),
(19, '3083', 'Torque unit', '9/*/System', 'table2', '0~2', '', '0: N·m\n1: kgf·cm\n2: lbf·in'),
(20, '0x0D0C', 'Alarm enable', '9/*/System', 'table2', '0x0000~0x0003', '', 'Bit 0: float lock alarm\nBit 1: slip alarm'),
(21, '0x0C0A', 'Screw count', '9/*/System', 'table2', '0~999', '', 'Screws per work piece');
