-- What each alarm code of the screwdriver controller means and what to do about it.
-- level is shown as written; codes 10 and 12 go with the Slip and Float lock results.
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
(9, '故障', '电机堵转', '电批在设定时间内未转动，批头卡死或负载过大', '取下批头检查是否卡死，确认工件已放好'),
(10, '警告', '滑牙', '锁付圈数超过上限而扭矩未达到', '检查螺钉与螺孔，必要时更换'),
(11, 'Warning', 'Torque not reached', 'The task time ran out before the target torque', 'Check the screw length and the task time limit'),
(12, '警告', '浮锁', '锁付圈数未达到下限时扭矩已到达', '检查螺钉是否对准螺孔'),
(13, 'Warning', 'Turns over limit', 'The bit turned more than the upper turns limit of the task', 'Check for a missing screw, then the turns limits of the task'),
(14, '警告', '锁付超时', '单颗螺钉锁付时间超过任务设定', '检查螺钉规格及任务时间上限'),
(15, 'Warning', 'Screw missing', 'Free run at low torque for the whole start phase', 'Feed a screw and start again'),
(16, '故障', '急停', '急停输入断开', '排除危险后复位急停按钮'),
(17, 'Fault', 'Parameter checksum error', 'The stored parameters do not match their checksum', 'Load the default parameters, then write the task parameters again'),
(18, '故障', 'EEPROM 读写失败', '参数存储芯片无应答', '断电重启；仍报警请联系售后'),
(19, 'Warning', 'Torque sensor zero drift', 'Sensor reads above 2% of range with the bit at rest', 'Unload the bit and run "Zero calibration" from the debugging page'),
(20, 'Warning', 'Torque over limit', 'Final torque above the upper limit of the task', 'Check the task torque settings'),
(21, 'Warning', 'Communication timeout', 'No request from the master within the timeout', 'Check the cable and the master polling'),
(22, '故障', '电批未连接', '控制器检测不到电批', '检查电批连接线并重新插紧'),
(23, '警告', '任务未配置', '选择的任务号没有有效参数', '在应用参数页面设置该任务的参数'),
(30, 'Fault', 'Brake fault', 'The holding brake does not release, or releases without a command', 'Check the brake supply and its wiring');
