<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AlarmInfoFrame</name>
    <message>
        <source>Alarm Information</source>
        <translation>Alarm Information</translation>
    </message>
    <message>
        <source>查找限定字符</source>
        <translation>Search Keyword</translation>
    </message>
    <message>
        <source>查找报警</source>
        <translation>Search Alarm</translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation>Clear Search</translation>
    </message>
    <message>
        <source>清除当前报警</source>
        <translation>Clear Current Alarm</translation>
    </message>
    <message>
        <source>导出报警记录</source>
        <translation>Export Alarm Record</translation>
    </message>
    <message>
        <source>报警使能</source>
        <translation>Alarm Enable</translation>
    </message>
    <message>
        <source>浮锁</source>
        <translation>Float</translation>
    </message>
    <message>
        <source>滑牙</source>
        <translation>Slip</translation>
    </message>
    <message>
        <source>Solution:</source>
        <translation>Solution:</translation>
    </message>
    <message>
        <source>报警编号</source>
        <translation>Alarm No.</translation>
    </message>
    <message>
        <source>报警级别</source>
        <translation>Alarm Level</translation>
    </message>
    <message>
        <source>报警名称</source>
        <translation>Alarm Name</translation>
    </message>
    <message>
        <source>报警原因</source>
        <translation>Alarm Cause</translation>
    </message>
    <message>
        <source>解决方法</source>
        <translation>Solution</translation>
    </message>
    <message>
        <source>报警时间</source>
        <translation>Alarm Time</translation>
    </message>
    <message>
        <source>undefine</source>
        <translation>undefine</translation>
    </message>
    <message>
        <source>Export Alarm Record</source>
        <translation>Export Alarm Record</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Alarm record export failed!</source>
        <translation>Alarm record export failed!</translation>
    </message>
</context>
<context>
    <name>AppDebugFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>实时数据</source>
        <translation>Real-time Data</translation>
    </message>
    <message>
        <source>当前扭矩</source>
        <translation>Current Torque</translation>
    </message>
    <message>
        <source>当前转速</source>
        <translation>Current Speed</translation>
    </message>
    <message>
        <source>电批启动</source>
        <translation>Screwdriver Start</translation>
    </message>
    <message>
        <source>电批停止</source>
        <translation>Screwdriver Stop</translation>
    </message>
    <message>
        <source>电批设置</source>
        <translation>Screwdriver Settings</translation>
    </message>
    <message>
        <source>电批方向</source>
        <translation>Screwdriver Direction</translation>
    </message>
    <message>
        <source>正向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>反向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>控制方式</source>
        <translation>Control Mode</translation>
    </message>
    <message>
        <source>PC控制</source>
        <translation>PC Control</translation>
    </message>
    <message>
        <source>IO控制</source>
        <translation>IO Control</translation>
    </message>
    <message>
        <source>输入输出</source>
        <translation>Input/Output</translation>
    </message>
    <message>
        <source>DI%1</source>
        <translation>DI%1</translation>
    </message>
    <message>
        <source>DO%1</source>
        <translation>DO%1</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Please select PC control first!</source>
        <translation>Please select PC control first!</translation>
    </message>
</context>
<context>
    <name>AppParamFrame</name>
    <message>
        <source>App Parameters</source>
        <translation>App Parameters</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>上传</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>菜单列表</source>
        <translation>Menu List</translation>
    </message>
    <message>
        <source>二级菜单1</source>
        <translation>Submenu 1</translation>
    </message>
    <message>
        <source>二级菜单2</source>
        <translation>Submenu 2</translation>
    </message>
    <message>
        <source>二级菜单3</source>
        <translation>Submenu 3</translation>
    </message>
    <message>
        <source>二级菜单4</source>
        <translation>Submenu 4</translation>
    </message>
    <message>
        <source>二级菜单5</source>
        <translation>Submenu 5</translation>
    </message>
    <message>
        <source>二级菜单6</source>
        <translation>Submenu 6</translation>
    </message>
    <message>
        <source>二级菜单7</source>
        <translation>Submenu 7</translation>
    </message>
    <message>
        <source>二级菜单8</source>
        <translation>Submenu 8</translation>
    </message>
    <message>
        <source>二级菜单9</source>
        <translation>Submenu 9</translation>
    </message>
    <message>
        <source>二级菜单10</source>
        <translation>Submenu 10</translation>
    </message>
    <message>
        <source>二级菜单11</source>
        <translation>Submenu 11</translation>
    </message>
    <message>
        <source>二级菜单12</source>
        <translation>Submenu 12</translation>
    </message>
    <message>
        <source>一级菜单1</source>
        <translation>Main Menu 1</translation>
    </message>
    <message>
        <source>一级菜单2</source>
        <translation>Main Menu 2</translation>
    </message>
    <message>
        <source>一级菜单3</source>
        <translation>Main Menu 3</translation>
    </message>
    <message>
        <source>一级菜单4</source>
        <translation>Main Menu 4</translation>
    </message>
    <message>
        <source>一级菜单5</source>
        <translation>Main Menu 5</translation>
    </message>
    <message>
        <source>一级菜单6</source>
        <translation>Main Menu 6</translation>
    </message>
    <message>
        <source>一级菜单7</source>
        <translation>Main Menu 7</translation>
    </message>
    <message>
        <source>一级菜单8</source>
        <translation>Main Menu 8</translation>
    </message>
    <message>
        <source>一级菜单9</source>
        <translation>Main Menu 9</translation>
    </message>
    <message>
        <source>一级菜单10</source>
        <translation>Main Menu 10</translation>
    </message>
    <message>
        <source>一级菜单11</source>
        <translation>Main Menu 11</translation>
    </message>
    <message>
        <source>一级菜单12</source>
        <translation>Main Menu 12</translation>
    </message>
    <message>
        <source>菜单1</source>
        <translation>Menu 1</translation>
    </message>
    <message>
        <source>菜单2</source>
        <translation>Menu 2</translation>
    </message>
    <message>
        <source>菜单3</source>
        <translation>Menu 3</translation>
    </message>
    <message>
        <source>菜单4</source>
        <translation>Menu 4</translation>
    </message>
    <message>
        <source>菜单5</source>
        <translation>Menu 5</translation>
    </message>
    <message>
        <source>菜单6</source>
        <translation>Menu 6</translation>
    </message>
    <message>
        <source>菜单7</source>
        <translation>Menu 7</translation>
    </message>
    <message>
        <source>菜单8</source>
        <translation>Menu 8</translation>
    </message>
    <message>
        <source>步骤</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>圈数(r)</source>
        <translation>Turns(r)</translation>
    </message>
    <message>
        <source>速度(rpm)</source>
        <translation>Speed(rpm)</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>当前值</source>
        <translation>Current Value</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>New Value</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>有符号</source>
        <translation>Signed</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>App param(%1) group error!</source>
        <translation>App param(%1) group error!</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a value of this parameter</source>
        <translation>%1: &quot;%2&quot; is not a value of this parameter</translation>
    </message>
    <message>
        <source>%1: the device did not confirm the write</source>
        <translation>%1: the device did not confirm the write</translation>
    </message>
    <message>
        <source>These values were not written:
%1</source>
        <translation>These values were not written:
%1</translation>
    </message>
    <message>
        <source>The parameters imported will be uploaded 
again. Do you want to continue?</source>
        <translation>The parameters imported will be uploaded 
again. Do you want to continue?</translation>
    </message>
    <message>
        <source>Are you sure you want to restore factory settings?</source>
        <translation>Are you sure you want to restore factory settings?</translation>
    </message>
    <message>
        <source>Export App Params</source>
        <translation>Export App Params</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <source>Import App Params</source>
        <translation>Import App Params</translation>
    </message>
    <message>
        <source>App params export failed!</source>
        <translation>App params export failed!</translation>
    </message>
    <message>
        <source>The imported parameters do not 
match the current device type!</source>
        <translation>The imported parameters do not 
match the current device type!</translation>
    </message>
    <message>
        <source>The parameter file format is wrong!</source>
        <translation>The parameter file format is wrong!</translation>
    </message>
</context>
<context>
    <name>ComSettingsFrame</name>
    <message>
        <source>Comm Settings</source>
        <translation>Comm Settings</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Ethernet (Modbus TCP)</source>
        <translation>Ethernet (Modbus TCP)</translation>
    </message>
    <message>
        <source>Serial (Modbus RTU)</source>
        <translation>Serial (Modbus RTU)</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Serial debugging...</source>
        <translation>Serial debugging...</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Remote IP</source>
        <translation>Remote IP</translation>
    </message>
    <message>
        <source>127.0.0.1</source>
        <translation>127.0.0.1</translation>
    </message>
    <message>
        <source>Remote port</source>
        <translation>Remote port</translation>
    </message>
    <message>
        <source>9760</source>
        <translation>9760</translation>
    </message>
    <message>
        <source>Network debugging...</source>
        <translation>Network debugging...</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Device type</source>
        <translation>Device type</translation>
    </message>
    <message>
        <source>Sdriver Device</source>
        <translation>Sdriver Device</translation>
    </message>
    <message>
        <source>HighVolt Servo</source>
        <translation>HighVolt Servo</translation>
    </message>
    <message>
        <source>LowVolt Servo</source>
        <translation>LowVolt Servo</translation>
    </message>
    <message>
        <source>Trelvox Servo</source>
        <translation>Trelvox Servo</translation>
    </message>
    <message>
        <source>Other Device1</source>
        <translation>Other Device1</translation>
    </message>
    <message>
        <source>Other Device2</source>
        <translation>Other Device2</translation>
    </message>
    <message>
        <source>Other Device3</source>
        <translation>Other Device3</translation>
    </message>
    <message>
        <source>Other Device4</source>
        <translation>Other Device4</translation>
    </message>
    <message>
        <source>Other Device5</source>
        <translation>Other Device5</translation>
    </message>
    <message>
        <source>Device address</source>
        <translation>Device address</translation>
    </message>
    <message>
        <source>Check that the device answers when connecting</source>
        <translation>Check that the device answers when connecting</translation>
    </message>
    <message>
        <source>Devices found</source>
        <translation>Devices found</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation>Open failure!</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>Connect failure: no answer from %1:%2</source>
        <translation>Connect failure: no answer from %1:%2</translation>
    </message>
    <message>
        <source>Checking device %1...</source>
        <translation>Checking device %1...</translation>
    </message>
    <message>
        <source>No device answers at address %1.</source>
        <translation>No device answers at address %1.</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Connect failure: %1</source>
        <translation>Connect failure: %1</translation>
    </message>
    <message>
        <source>Link lost: %1</source>
        <translation>Link lost: %1</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Link lost: the device does not answer.</source>
        <translation>Link lost: the device does not answer.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Connected. Devices found: %1</source>
        <translation>Connected. Devices found: %1</translation>
    </message>
    <message>
        <source>Searching address %1 of %2...</source>
        <translation>Searching address %1 of %2...</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Invalid port &quot;%1&quot;: enter a number from 1 to 65535.</source>
        <translation>Invalid port &quot;%1&quot;: enter a number from 1 to 65535.</translation>
    </message>
</context>
<context>
    <name>CompatibilityDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>There are differences in the options of curve display configuration parameters (parameters 92 and 93) between new and old versions of servo program. If it is found that the waveform display is obviously inconsistent with the actual situation, please check or remove this option and try again. </source>
        <translation>There are differences in the options of curve display configuration parameters (parameters 92 and 93) between new and old versions of servo program. If it is found that the waveform display is obviously inconsistent with the actual situation, please check or remove this option and try again. </translation>
    </message>
    <message>
        <source>Use the old version curve display config options.</source>
        <translation>Use the old version curve display config options.</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Failed to save the option!</source>
        <translation>Failed to save the option!</translation>
    </message>
</context>
<context>
    <name>CustomItemDelegate</name>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Input out of range(%1~%2) or decimals(%3 decimal places)!</source>
        <translation>Input out of range(%1~%2) or decimals(%3 decimal places)!</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database file %1 cannot be used: its folder cannot be created.
The program goes on without stored accounts, records and settings.</source>
        <translation>The database file %1 cannot be used: its folder cannot be created.
The program goes on without stored accounts, records and settings.</translation>
    </message>
    <message>
        <source>The database file %1 cannot be used: %2.
What cannot be read shows as empty or default and no setting is saved over it; new records are kept and stored as soon as the file takes them again.</source>
        <translation>The database file %1 cannot be used: %2.
What cannot be read shows as empty or default and no setting is saved over it; new records are kept and stored as soon as the file takes them again.</translation>
    </message>
    <message>
        <source>another program is using it</source>
        <translation>another program is using it</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <translation>it is read-only</translation>
    </message>
    <message>
        <source>it is damaged or not a database</source>
        <translation>it is damaged or not a database</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>it cannot be opened or read</source>
        <translation>it cannot be opened or read</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>it cannot be read</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>IOMonitorFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Input Monitor</source>
        <translation>Input Monitor</translation>
    </message>
    <message>
        <source>Output Monitor</source>
        <translation>Output Monitor</translation>
    </message>
    <message>
        <source>DI%1</source>
        <translation>DI%1</translation>
    </message>
    <message>
        <source>DO%1</source>
        <translation>DO%1</translation>
    </message>
</context>
<context>
    <name>JogModeDialog</name>
    <message>
        <source>伺服调试</source>
        <translation>Servo Debug</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Anticlockwise</source>
        <translation>Anticlockwise</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>Clockwise</translation>
    </message>
    <message>
        <source>Axis0</source>
        <translation>Axis0</translation>
    </message>
    <message>
        <source>Axis1</source>
        <translation>Axis1</translation>
    </message>
    <message>
        <source>Axis2</source>
        <translation>Axis2</translation>
    </message>
    <message>
        <source>Axis3</source>
        <translation>Axis3</translation>
    </message>
    <message>
        <source>Axis4</source>
        <translation>Axis4</translation>
    </message>
    <message>
        <source>Axis5</source>
        <translation>Axis5</translation>
    </message>
    <message>
        <source>Axis6</source>
        <translation>Axis6</translation>
    </message>
    <message>
        <source>Axis7</source>
        <translation>Axis7</translation>
    </message>
    <message>
        <source>最大转矩</source>
        <translation>Max Torque</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>速度模式</source>
        <translation>Speed Mode</translation>
    </message>
    <message>
        <source>位置模式</source>
        <translation>Position Mode</translation>
    </message>
    <message>
        <source>置顶</source>
        <translation>Stay on Top</translation>
    </message>
    <message>
        <source>往复运动</source>
        <translation>Reciprocating</translation>
    </message>
    <message>
        <source>目标位置1</source>
        <translation>Target Position 1</translation>
    </message>
    <message>
        <source>目标位置2</source>
        <translation>Target Position 2</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>清除报警</source>
        <translation>Clear Alarm</translation>
    </message>
    <message>
        <source>全部使能</source>
        <translation>Enable All</translation>
    </message>
    <message>
        <source>Jog调试模式</source>
        <translation>Jog Debug Mode</translation>
    </message>
    <message>
        <source>主站伺服调试</source>
        <translation>Master Servo Debug</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>轴号</source>
        <translation>Axis No.</translation>
    </message>
    <message>
        <source>当前位置</source>
        <translation>Current Position</translation>
    </message>
    <message>
        <source>模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>转矩</source>
        <translation>Torque</translation>
    </message>
    <message>
        <source>加速时间(ms)</source>
        <translation>Accel Time(ms)</translation>
    </message>
    <message>
        <source>减速时间(ms)</source>
        <translation>Decel Time(ms)</translation>
    </message>
    <message>
        <source>速度(r/min)</source>
        <translation>Speed(r/min)</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>伺服使能</source>
        <translation>Servo Enable</translation>
    </message>
    <message>
        <source>正</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>反</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>使能</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>LanguageSettingFrame</name>
    <message>
        <source>Language Setting</source>
        <translation>Language Setting</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Simplified Chinese</source>
        <translation>Simplified Chinese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>LinkPage</name>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Invalid hex text!</source>
        <translation>Invalid hex text!</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>%1 records are not stored yet. Quit anyway?</source>
        <translation>%1 records are not stored yet. Quit anyway?</translation>
    </message>
    <message>
        <source>Jog Debug Mod</source>
        <translation>Jog Debug Mod</translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation>Language Setting</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Please login first!</source>
        <translation>Please login first!</translation>
    </message>
    <message>
        <source>Servo monitor and debug software </source>
        <translation>Servo monitor and debug software </translation>
    </message>
    <message>
        <source>Commissioning and diagnostics for servo drives and screwdriver controllers.</source>
        <translation>Commissioning and diagnostics for servo drives and screwdriver controllers.</translation>
    </message>
    <message>
        <source>About Software</source>
        <translation>About Software</translation>
    </message>
</context>
<context>
    <name>MenuAreaFrame</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>System Settings</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <source>User Login</source>
        <translation>User Login</translation>
    </message>
    <message>
        <source>Comm Settings</source>
        <translation>Comm Settings</translation>
    </message>
    <message>
        <source>Perm Settings</source>
        <translation>Perm Settings</translation>
    </message>
    <message>
        <source>Dev Information</source>
        <translation>Dev Information</translation>
    </message>
    <message>
        <source>System Update</source>
        <translation>System Update</translation>
    </message>
    <message>
        <source>About Software</source>
        <translation>About Software</translation>
    </message>
    <message>
        <source>Servo Settings</source>
        <translation>Servo Settings</translation>
    </message>
    <message>
        <source>Servo Parameters</source>
        <translation>Servo Parameters</translation>
    </message>
    <message>
        <source>Servo Debugging</source>
        <translation>Servo Debugging</translation>
    </message>
    <message>
        <source>App Settings</source>
        <translation>App Settings</translation>
    </message>
    <message>
        <source>App Parameters</source>
        <translation>App Parameters</translation>
    </message>
    <message>
        <source>App Debugging</source>
        <translation>App Debugging</translation>
    </message>
    <message>
        <source>Monitor Information</source>
        <translation>Monitor Information</translation>
    </message>
    <message>
        <source>IO Monitoring</source>
        <translation>IO Monitoring</translation>
    </message>
    <message>
        <source>Alarm Information</source>
        <translation>Alarm Information</translation>
    </message>
    <message>
        <source>Work Waveform</source>
        <translation>Work Waveform</translation>
    </message>
    <message>
        <source>Wave Monitor</source>
        <translation>Wave Monitor</translation>
    </message>
    <message>
        <source>statistics Analysis</source>
        <translation>statistics Analysis</translation>
    </message>
    <message>
        <source>Work Record</source>
        <translation>Work Record</translation>
    </message>
</context>
<context>
    <name>MenuBarFrame</name>
    <message>
        <source>Lock Start</source>
        <translation>Lock Start</translation>
    </message>
    <message>
        <source>Lock Stop</source>
        <translation>Lock Stop</translation>
    </message>
    <message>
        <source>Unlock Start</source>
        <translation>Unlock Start</translation>
    </message>
    <message>
        <source>Unlock Stop</source>
        <translation>Unlock Stop</translation>
    </message>
    <message>
        <source>Free Start</source>
        <translation>Free Start</translation>
    </message>
    <message>
        <source>Free Stop</source>
        <translation>Free Stop</translation>
    </message>
    <message>
        <source>App Param</source>
        <translation>App Param</translation>
    </message>
    <message>
        <source>Task Plan</source>
        <translation>Task Plan</translation>
    </message>
    <message>
        <source>兼容性选项</source>
        <translation>Compatibility Options</translation>
    </message>
    <message>
        <source>主站伺服调试</source>
        <translation>Master Servo Debug</translation>
    </message>
    <message>
        <source>主站系统更新</source>
        <translation>Master System Update</translation>
    </message>
    <message>
        <source>Jog调试模式</source>
        <translation>Jog Debug Mode</translation>
    </message>
    <message>
        <source>烧录工具</source>
        <translation>Burn Tool</translation>
    </message>
    <message>
        <source>语言设置</source>
        <translation>Language Setting</translation>
    </message>
    <message>
        <source>使用说明</source>
        <translation>User Manual</translation>
    </message>
    <message>
        <source>关于软件</source>
        <translation>About Software</translation>
    </message>
    <message>
        <source>Com Setting</source>
        <translation>Com Setting</translation>
    </message>
    <message>
        <source>Servo Param</source>
        <translation>Servo Param</translation>
    </message>
    <message>
        <source>Wave View</source>
        <translation>Wave View</translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation>App Debug</translation>
    </message>
    <message>
        <source>Work Record</source>
        <translation>Work Record</translation>
    </message>
    <message>
        <source>Alarm Info</source>
        <translation>Alarm Info</translation>
    </message>
    <message>
        <source>IO Monitor</source>
        <translation>IO Monitor</translation>
    </message>
    <message>
        <source>Clear Alarm</source>
        <translation>Clear Alarm</translation>
    </message>
    <message>
        <source>登录密码</source>
        <translation>Login Password</translation>
    </message>
    <message>
        <source>请输入管理员密码！</source>
        <translation>Please enter the administrator password!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>密码错误！</source>
        <translation>Wrong password!</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>The burn tool could not be started: %1</source>
        <translation>The burn tool could not be started: %1</translation>
    </message>
    <message>
        <source>The burn tool is not installed: %1</source>
        <translation>The burn tool is not installed: %1</translation>
    </message>
    <message>
        <source>No user manual was found in %1</source>
        <translation>No user manual was found in %1</translation>
    </message>
    <message>
        <source>The user manual could not be opened: %1</source>
        <translation>The user manual could not be opened: %1</translation>
    </message>
    <message>
        <source>Exec Task%1</source>
        <translation>Exec Task%1</translation>
    </message>
</context>
<context>
    <name>ModifyPswDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Input Old Passward</source>
        <translation>Input Old Passward</translation>
    </message>
    <message>
        <source>Input New Passward</source>
        <translation>Input New Passward</translation>
    </message>
    <message>
        <source>Confirm Passward</source>
        <translation>Confirm Passward</translation>
    </message>
    <message>
        <source>Show Passward</source>
        <translation>Show Passward</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Please input old password!</source>
        <translation>Please input old password!</translation>
    </message>
    <message>
        <source>Please input new password!</source>
        <translation>Please input new password!</translation>
    </message>
    <message>
        <source>Please input confirm password!</source>
        <translation>Please input confirm password!</translation>
    </message>
    <message>
        <source>Old password input error!</source>
        <translation>Old password input error!</translation>
    </message>
    <message>
        <source>New password confirm error!</source>
        <translation>New password confirm error!</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Failed to save the account!</source>
        <translation>Failed to save the account!</translation>
    </message>
</context>
<context>
    <name>NetworkHelper</name>
    <message>
        <source>Network Debugging</source>
        <translation>Network Debugging</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation>Debug mode</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>Connection closed</translation>
    </message>
    <message>
        <source>Client connected: %1</source>
        <translation>Client connected: %1</translation>
    </message>
    <message>
        <source>Client disconnected: %1</source>
        <translation>Client disconnected: %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Listen failure!</source>
        <translation>Listen failure!</translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation>Send failure!</translation>
    </message>
</context>
<context>
    <name>ParamFileReader</name>
    <message>
        <source>The file is too large for a parameter file (more than %1 KB)!</source>
        <translation>The file is too large for a parameter file (more than %1 KB)!</translation>
    </message>
</context>
<context>
    <name>PermManageDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>设备类型</source>
        <translation>Device Type</translation>
    </message>
    <message>
        <source>电批设备</source>
        <translation>Sdriver Device</translation>
    </message>
    <message>
        <source>高压伺服</source>
        <translation>HighVolt Servo</translation>
    </message>
    <message>
        <source>低压伺服</source>
        <translation>LowVolt Servo</translation>
    </message>
    <message>
        <source>门机设备</source>
        <translation>Trelvox Servo</translation>
    </message>
    <message>
        <source>其他设备1</source>
        <translation>Other Device1</translation>
    </message>
    <message>
        <source>其他设备2</source>
        <translation>Other Device2</translation>
    </message>
    <message>
        <source>其他设备3</source>
        <translation>Other Device3</translation>
    </message>
    <message>
        <source>其他设备4</source>
        <translation>Other Device4</translation>
    </message>
    <message>
        <source>其他设备5</source>
        <translation>Other Device5</translation>
    </message>
    <message>
        <source>权限分配</source>
        <translation>Permission Assignment</translation>
    </message>
    <message>
        <source>报警管理</source>
        <translation>Alarm Manage</translation>
    </message>
    <message>
        <source>记录管理</source>
        <translation>Record Manage</translation>
    </message>
    <message>
        <source>权限管理</source>
        <translation>Perm Manage</translation>
    </message>
    <message>
        <source>波形监视</source>
        <translation>Wave Monitor</translation>
    </message>
    <message>
        <source>应用调试</source>
        <translation>App Debug</translation>
    </message>
    <message>
        <source>应用设置</source>
        <translation>App Setting</translation>
    </message>
    <message>
        <source>伺服调试</source>
        <translation>Servo Debug</translation>
    </message>
    <message>
        <source>伺服设置</source>
        <translation>Servo Setting</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>New Account</source>
        <translation>New Account</translation>
    </message>
    <message>
        <source>Modify Account</source>
        <translation>Modify Account</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
</context>
<context>
    <name>PermManageFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>帐号</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>权限</source>
        <translation>Permission</translation>
    </message>
    <message>
        <source>Sdriver Device</source>
        <translation>Sdriver Device</translation>
    </message>
    <message>
        <source>HighVolt Servo</source>
        <translation>HighVolt Servo</translation>
    </message>
    <message>
        <source>LowVolt Servo</source>
        <translation>LowVolt Servo</translation>
    </message>
    <message>
        <source>Trelvox Servo</source>
        <translation>Trelvox Servo</translation>
    </message>
    <message>
        <source>Other Device1</source>
        <translation>Other Device1</translation>
    </message>
    <message>
        <source>Other Device2</source>
        <translation>Other Device2</translation>
    </message>
    <message>
        <source>Other Device3</source>
        <translation>Other Device3</translation>
    </message>
    <message>
        <source>Other Device4</source>
        <translation>Other Device4</translation>
    </message>
    <message>
        <source>Other Device5</source>
        <translation>Other Device5</translation>
    </message>
    <message>
        <source>Alarm Manage</source>
        <translation>Alarm Manage</translation>
    </message>
    <message>
        <source>Record Manage</source>
        <translation>Record Manage</translation>
    </message>
    <message>
        <source>Perm Manage</source>
        <translation>Perm Manage</translation>
    </message>
    <message>
        <source>Wave Monitor</source>
        <translation>Wave Monitor</translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation>App Debug</translation>
    </message>
    <message>
        <source>App Setting</source>
        <translation>App Setting</translation>
    </message>
    <message>
        <source>Servo Debug</source>
        <translation>Servo Debug</translation>
    </message>
    <message>
        <source>Servo Setting</source>
        <translation>Servo Setting</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>This account is already exists!</source>
        <translation>This account is already exists!</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Please select account!</source>
        <translation>Please select account!</translation>
    </message>
    <message>
        <source>Failed to delete the account!</source>
        <translation>Failed to delete the account!</translation>
    </message>
    <message>
        <source>Failed to save the account!</source>
        <translation>Failed to save the account!</translation>
    </message>
</context>
<context>
    <name>RecordTableModel</name>
    <message numerus="yes">
        <source>%n record(s) not stored yet: the database file cannot be written. They are kept and stored as soon as it can.</source>
        <translation>
            <numerusform>%n record not stored yet: the database file cannot be written. They are kept and stored as soon as it can.</numerusform>
            <numerusform>%n records not stored yet: the database file cannot be written. They are kept and stored as soon as it can.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SerialPortHelper</name>
    <message>
        <source>Serial Debugging</source>
        <translation>Serial Debugging</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation>Debug mode</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>No serial port selected</source>
        <translation>No serial port selected</translation>
    </message>
    <message>
        <source>Serial port %1 lost: %2</source>
        <translation>Serial port %1 lost: %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Invalid baud rate</source>
        <translation>Invalid baud rate</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation>Open failure!</translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation>Send failure!</translation>
    </message>
</context>
<context>
    <name>ServoParamFrame</name>
    <message>
        <source>Servo Parameters</source>
        <translation>Servo Parameters</translation>
    </message>
    <message>
        <source>有符号</source>
        <translation>Signed</translation>
    </message>
    <message>
        <source>无符号</source>
        <translation>Unsigned</translation>
    </message>
    <message>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>二进制</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Servo param(%1) group error!</source>
        <translation>Servo param(%1) group error!</translation>
    </message>
    <message>
        <source>代号</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>设备/轴</source>
        <translation>Device/Axis</translation>
    </message>
    <message>
        <source>当前值</source>
        <translation>Current Value</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>New Value</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>当前值[%1/%2]</source>
        <translation>Current Value[%1/%2]</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a value of this parameter</source>
        <translation>%1: &quot;%2&quot; is not a value of this parameter</translation>
    </message>
    <message>
        <source>%1: the device did not acknowledge the write</source>
        <translation>%1: the device did not acknowledge the write</translation>
    </message>
    <message>
        <source>These parameters were not written:
%1</source>
        <translation>These parameters were not written:
%1</translation>
    </message>
    <message>
        <source>The parameters imported will be uploaded 
again. Do you want to continue?</source>
        <translation>The parameters imported will be uploaded 
again. Do you want to continue?</translation>
    </message>
    <message>
        <source>The current values of all parameters will be downloaded 
to the slave device. Do you want to continue?</source>
        <translation>The current values of all parameters will be downloaded 
to the slave device. Do you want to continue?</translation>
    </message>
    <message>
        <source>Are you sure you want to restore factory settings?</source>
        <translation>Are you sure you want to restore factory settings?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The device is not connected: the factory settings were not restored!</source>
        <translation>The device is not connected: the factory settings were not restored!</translation>
    </message>
    <message>
        <source>The link is busy: the factory settings were not restored, try again!</source>
        <translation>The link is busy: the factory settings were not restored, try again!</translation>
    </message>
    <message>
        <source>Restoring the factory settings stopped: only %1 of %2 requests were sent!</source>
        <translation>Restoring the factory settings stopped: only %1 of %2 requests were sent!</translation>
    </message>
    <message>
        <source>Servo parameter export only supports single device!</source>
        <translation>Servo parameter export only supports single device!</translation>
    </message>
    <message>
        <source>Export Servo Params</source>
        <translation>Export Servo Params</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <source>Import Servo Params</source>
        <translation>Import Servo Params</translation>
    </message>
    <message>
        <source>Servo parameters export failed!</source>
        <translation>Servo parameters export failed!</translation>
    </message>
    <message>
        <source>The parameter file format is wrong!</source>
        <translation>The parameter file format is wrong!</translation>
    </message>
    <message>
        <source>The imported parameters do not 
match the current device type!</source>
        <translation>The imported parameters do not 
match the current device type!</translation>
    </message>
    <message>
        <source>The parameter file cannot be opened!</source>
        <translation>The parameter file cannot be opened!</translation>
    </message>
    <message>
        <source>This device has no axis %1: those values of the file are not shown.</source>
        <translation>This device has no axis %1: those values of the file are not shown.</translation>
    </message>
    <message>
        <source>Values too large for their parameter were left empty, lines: %1</source>
        <translation>Values too large for their parameter were left empty, lines: %1</translation>
    </message>
</context>
<context>
    <name>SlaveConfigDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Axis0</source>
        <translation>Axis0</translation>
    </message>
    <message>
        <source>Axis1</source>
        <translation>Axis1</translation>
    </message>
    <message>
        <source>Axis2</source>
        <translation>Axis2</translation>
    </message>
    <message>
        <source>Axis3</source>
        <translation>Axis3</translation>
    </message>
    <message>
        <source>Axis4</source>
        <translation>Axis4</translation>
    </message>
    <message>
        <source>Axis5</source>
        <translation>Axis5</translation>
    </message>
    <message>
        <source>Axis6</source>
        <translation>Axis6</translation>
    </message>
    <message>
        <source>Axis7</source>
        <translation>Axis7</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>Device Name</translation>
    </message>
    <message>
        <source>Device Address</source>
        <translation>Device Address</translation>
    </message>
    <message>
        <source>Status1</source>
        <translation>Status1</translation>
    </message>
    <message>
        <source>Status2</source>
        <translation>Status2</translation>
    </message>
    <message>
        <source>Status3</source>
        <translation>Status3</translation>
    </message>
    <message>
        <source>Status4</source>
        <translation>Status4</translation>
    </message>
    <message>
        <source>Status5</source>
        <translation>Status5</translation>
    </message>
    <message>
        <source>Status6</source>
        <translation>Status6</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>Names</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Column Left</source>
        <translation>Column Left</translation>
    </message>
    <message>
        <source>Column Right</source>
        <translation>Column Right</translation>
    </message>
    <message>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Device Name</translation>
    </message>
    <message>
        <source>设备地址</source>
        <translation>Device Address</translation>
    </message>
    <message>
        <source>[轴%1]</source>
        <translation>[Axis%1]</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>StandbyFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
</context>
<context>
    <name>StatusAreaFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Status1</source>
        <translation>Status1</translation>
    </message>
    <message>
        <source>0.000</source>
        <translation>0.000</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Status2</source>
        <translation>Status2</translation>
    </message>
    <message>
        <source>Status3</source>
        <translation>Status3</translation>
    </message>
    <message>
        <source>Status4</source>
        <translation>Status4</translation>
    </message>
    <message>
        <source>Status5</source>
        <translation>Status5</translation>
    </message>
    <message>
        <source>Status6</source>
        <translation>Status6</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Not Login</source>
        <translation>Not Login</translation>
    </message>
    <message>
        <source>用户登录</source>
        <translation>User Login</translation>
    </message>
    <message>
        <source>退出登录</source>
        <translation>Logout</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Modify Password</translation>
    </message>
    <message>
        <source>Undone</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Slip</source>
        <translation>Slip</translation>
    </message>
    <message>
        <source>Float</source>
        <translation>Float</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>Turns</translation>
    </message>
    <message>
        <source>r</source>
        <translation>r</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>Torque</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>rpm</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Servo Enable</source>
        <translation>Servo Enable</translation>
    </message>
    <message>
        <source>Servo Ready</source>
        <translation>Servo Ready</translation>
    </message>
    <message>
        <source>Bus Voltage</source>
        <translation>Bus Voltage</translation>
    </message>
    <message>
        <source>Comm Status</source>
        <translation>Comm Status</translation>
    </message>
    <message>
        <source>Location OK</source>
        <translation>Location OK</translation>
    </message>
</context>
<context>
    <name>SystemUpdateDialog</name>
    <message>
        <source>系统更新</source>
        <translation>System Update</translation>
    </message>
    <message>
        <source>选择更新文件</source>
        <translation>Select Update File</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>未选择更新文件!</source>
        <translation>No update file selected!</translation>
    </message>
    <message>
        <source>未找到更新文件!</source>
        <translation>Update file not found!</translation>
    </message>
    <message>
        <source>更新文件必须是 *.tar.bfe 文件!</source>
        <translation>The update file must be a *.tar.bfe file!</translation>
    </message>
    <message>
        <source>未找到解密工具 decrypt.bat!</source>
        <translation>Decryption tool decrypt.bat not found!</translation>
    </message>
    <message>
        <source>更新文件解包失败!</source>
        <translation>Failed to unpack the update file!</translation>
    </message>
    <message>
        <source>更新文件发送失败!</source>
        <translation>Failed to send the update file!</translation>
    </message>
    <message>
        <source>更新中...</source>
        <translation>Updating...</translation>
    </message>
    <message>
        <source>解包中(%1/%2)...</source>
        <translation>Unpacking (%1/%2)...</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>更新完成!</source>
        <translation>Update completed!</translation>
    </message>
</context>
<context>
    <name>UserLoginDialog</name>
    <message>
        <source>用户登录</source>
        <translation>User Login</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>伺服电批</source>
        <translation>Servo Screwdriver</translation>
    </message>
    <message>
        <source>其他设备</source>
        <translation>Other Device</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Login failure!</source>
        <translation>Login failure!</translation>
    </message>
</context>
<context>
    <name>WorkRecordFrame</name>
    <message>
        <source>Work Record</source>
        <translation>Work Record</translation>
    </message>
    <message>
        <source>数据统计</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>锁付成功</source>
        <translation>Lock Success</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #00CC88;</source>
        <translation>color: #FFFFFF; background-color: #00CC88;</translation>
    </message>
    <message>
        <source>锁付失败</source>
        <translation>Lock Failure</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #FF0000;</source>
        <translation>color: #FFFFFF; background-color: #FF0000;</translation>
    </message>
    <message>
        <source>完成个数</source>
        <translation>Finish Product</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #49BDF8;</source>
        <translation>color: #FFFFFF; background-color: #49BDF8;</translation>
    </message>
    <message>
        <source>设定产量</source>
        <translation>Total Product</translation>
    </message>
    <message>
        <source>10000</source>
        <translation>10000</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #FF900E;</source>
        <translation>color: #FFFFFF; background-color: #FF900E;</translation>
    </message>
    <message>
        <source>计数清零</source>
        <translation>Clear Count</translation>
    </message>
    <message>
        <source>记录查询</source>
        <translation>Record Query</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start Time</translation>
    </message>
    <message>
        <source>yyyy/MM/dd hh:mm:ss</source>
        <translation>yyyy/MM/dd hh:mm:ss</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End Time</translation>
    </message>
    <message>
        <source>任务号</source>
        <translation>Task Number</translation>
    </message>
    <message>
        <source>任务0</source>
        <translation>Task0</translation>
    </message>
    <message>
        <source>任务1</source>
        <translation>Task1</translation>
    </message>
    <message>
        <source>任务2</source>
        <translation>Task2</translation>
    </message>
    <message>
        <source>任务3</source>
        <translation>Task3</translation>
    </message>
    <message>
        <source>任务4</source>
        <translation>Task4</translation>
    </message>
    <message>
        <source>锁付状态</source>
        <translation>Lock Status</translation>
    </message>
    <message>
        <source>未完成</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>NG</source>
        <translation>NG</translation>
    </message>
    <message>
        <source>查找记录</source>
        <translation>Search Record</translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation>Clear Search</translation>
    </message>
    <message>
        <source>清空记录</source>
        <translation>Clear Record</translation>
    </message>
    <message>
        <source>导出记录</source>
        <translation>Export Record</translation>
    </message>
    <message>
        <source>螺孔号</source>
        <translation>Screw Number</translation>
    </message>
    <message>
        <source>锁付圈数</source>
        <translation>Lock Turns</translation>
    </message>
    <message>
        <source>锁付扭矩</source>
        <translation>Lock Torque</translation>
    </message>
    <message>
        <source>锁付耗时</source>
        <translation>Used Time</translation>
    </message>
    <message>
        <source>锁付结果</source>
        <translation>Lock Result</translation>
    </message>
    <message>
        <source>锁付时间</source>
        <translation>Lock Time</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Task%1</source>
        <translation>Task%1</translation>
    </message>
    <message>
        <source>Undone</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>Slip</source>
        <translation>Slip</translation>
    </message>
    <message>
        <source>Float</source>
        <translation>Float</translation>
    </message>
    <message>
        <source>Screw Number</source>
        <translation>Screw Number</translation>
    </message>
    <message>
        <source>Task Number</source>
        <translation>Task Number</translation>
    </message>
    <message>
        <source>Lock Turns</source>
        <translation>Lock Turns</translation>
    </message>
    <message>
        <source>Lock Torque</source>
        <translation>Lock Torque</translation>
    </message>
    <message>
        <source>Used Time</source>
        <translation>Used Time</translation>
    </message>
    <message>
        <source>Lock Status</source>
        <translation>Lock Status</translation>
    </message>
    <message>
        <source>Lock Time</source>
        <translation>Lock Time</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>undefine</source>
        <translation>undefine</translation>
    </message>
    <message>
        <source>No Alarm</source>
        <translation>No Alarm</translation>
    </message>
    <message>
        <source>Lock Success</source>
        <translation>Lock Success</translation>
    </message>
    <message>
        <source>Lock Failure</source>
        <translation>Lock Failure</translation>
    </message>
    <message>
        <source>Finish Product</source>
        <translation>Finish Product</translation>
    </message>
    <message>
        <source>Total Product</source>
        <translation>Total Product</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Are you sure to clear work record?</source>
        <translation>Are you sure to clear work record?</translation>
    </message>
    <message>
        <source>Work record clear failed!</source>
        <translation>Work record clear failed!</translation>
    </message>
    <message>
        <source>The counters cannot be cleared while the database file cannot be read.</source>
        <translation>The counters cannot be cleared while the database file cannot be read.</translation>
    </message>
    <message>
        <source>Export Work Record</source>
        <translation>Export Work Record</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <source>Work record export failed!</source>
        <translation>Work record export failed!</translation>
    </message>
</context>
<context>
    <name>WorkWaveformFrame</name>
    <message>
        <source>Wave Monitor</source>
        <translation>Wave Monitor</translation>
    </message>
    <message>
        <source>Oscilloscope view not found: %1</source>
        <translation>Oscilloscope view not found: %1</translation>
    </message>
</context>
</TS>
