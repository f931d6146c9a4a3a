-- What each alarm code means and what to do about it.
DROP TABLE IF EXISTS alarm_details;
CREATE TABLE alarm_details (
    number INTEGER,
    level TEXT,
    name TEXT,
    reason TEXT,
    solution TEXT
);
INSERT INTO alarm_details (number, level, name, reason, solution) VALUES
(1, 'Fault', 'Overcurrent', 'Output short circuit or motor phase fault', 'Check the motor cable and the motor windings'),
(2, 'Fault', 'Overvoltage', 'DC bus voltage too high while braking', 'Lengthen the deceleration time or fit a braking resistor'),
(3, 'Fault', 'Undervoltage', 'Supply voltage too low or lost', 'Check the mains supply and its wiring'),
(4, 'Fault', 'Overload', 'Load above rated torque for too long', 'Reduce the load or check for a mechanical jam'),
(5, '故障', '编码器故障', '编码器线缆断开或受到干扰', '检查编码器线缆及屏蔽接地'),
(6, '故障', '超速', '电机转速超过最高转速', '检查速度指令及增益设置'),
(7, 'Fault', 'Position deviation too large', 'The motor cannot follow the position command', 'Raise the gains or lower the acceleration'),
(8, '警告', '过热', '散热器温度过高', '检查风扇并改善通风'),
(10, '警告', '滑牙', '锁付圈数超过上限而扭矩未达到', '检查螺钉与螺孔，必要时更换'),
(12, '警告', '浮锁', '锁付圈数未达到下限时扭矩已到达', '检查螺钉是否对准螺孔'),
(20, 'Warning', 'Torque over limit', 'Final torque above the upper limit of the task', 'Check the task torque settings'),
(21, 'Warning', 'Communication timeout', 'No request from the master within the timeout', 'Check the cable and the master polling');
