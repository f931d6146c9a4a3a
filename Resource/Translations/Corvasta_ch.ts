<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AlarmInfoFrame</name>
    <message>
        <source>Alarm Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查找限定字符</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查找报警</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除当前报警</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出报警记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警使能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>浮锁</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>滑牙</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警级别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警原因</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>解决方法</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undefine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Alarm Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm record export failed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppDebugFrame</name>
    <message>
        <source>App Debugging</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppParamFrame</name>
    <message>
        <source>App Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>监视</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上传</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下载</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二级菜单12</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一级菜单12</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>步骤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圈数(r)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度(rpm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有符号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App param(%1) group error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComSettingsFrame</name>
    <message>
        <source>Comm Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ethernet (Modbus TCP)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial (Modbus RTU)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>19200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>38400</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>57600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>115200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial debugging...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>127.0.0.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9760</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network debugging...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sdriver Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HighVolt Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LowVolt Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trelvox Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check that the device answers when connecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devices found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect failure: no answer from %1:%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking device %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No device answers at address %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect failure: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link lost: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link lost: the device does not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected. Devices found: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching address %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompatibilityDialog</name>
    <message>
        <source>Compatibility</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CustomItemDelegate</name>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input out of range(%1~%2) or decimals(%3 decimal places)!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IOMonitorFrame</name>
    <message>
        <source>IO Monitoring</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JogModeDialog</name>
    <message>
        <source>Jog Debug Mod</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageSettingFrame</name>
    <message>
        <source>Language Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkPage</name>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid hex text!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jog Debug Mod</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please login first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo monitor and debug software </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commissioning and diagnostics for servo drives and screwdriver controllers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Software</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MenuAreaFrame</name>
    <message>
        <source>MenuAreaFrame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MenuBarFrame</name>
    <message>
        <source>Lock Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlock Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlock Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App Param</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>兼容性选项</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主站伺服调试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主站系统更新</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jog调试模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>烧录工具</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>语言设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用说明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于软件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Com Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo Param</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IO Monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登录密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入管理员密码！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码错误！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The burn tool could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The burn tool is not installed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No user manual was found in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user manual could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModifyPswDialog</name>
    <message>
        <source>Modify Password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkHelper</name>
    <message>
        <source>Network Debugging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client connected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client disconnected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listen failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PermManageDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>账号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>电批设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高压伺服</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>低压伺服</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>门机设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他设备1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他设备2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他设备3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他设备4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他设备5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>权限分配</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>权限管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波形监视</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用调试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伺服调试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伺服设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Account</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PermManageFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帐号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>权限</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sdriver Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HighVolt Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LowVolt Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trelvox Servo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Device5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perm Manage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave Monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This account is already exists!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select account!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to delete the account!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to save the account!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPortHelper</name>
    <message>
        <source>Serial Debugging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No serial port selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port %1 lost: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServoParamFrame</name>
    <message>
        <source>Servo Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有符号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无符号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六进制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二进制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo param(%1) group error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>代号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备/轴</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前值[%1/%2]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a value of this parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the device did not acknowledge the write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These parameters were not written:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The parameters imported will be uploaded 
again. Do you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current values of all parameters will be downloaded 
to the slave device. Do you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to restore factory settings?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device is not connected: the factory settings were not restored!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link is busy: the factory settings were not restored, try again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring the factory settings stopped: only %1 of %2 requests were sent!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo parameter export only supports single device!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Servo Params</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Servo Params</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo parameters export failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The parameter file format is wrong!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The imported parameters do not 
match the current device type!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SlaveConfigDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Column Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Column Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[轴%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>值</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StandbyFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusAreaFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户登录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出登录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Float</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>r</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Torque</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servo Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bus Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comm Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemUpdateDialog</name>
    <message>
        <source>System Update</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserLoginDialog</name>
    <message>
        <source>User Login</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkRecordFrame</name>
    <message>
        <source>Work Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付成功</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #00CC88;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #FF0000;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成个数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #49BDF8;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设定产量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #FF900E;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>计数清零</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy/MM/dd hh:mm:ss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查找记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>螺孔号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付圈数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付扭矩</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付耗时</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付结果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锁付时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报警</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Float</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screw Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Turns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Torque</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undefine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish Product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to clear work record?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work record clear failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Work Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work record export failed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkWaveformFrame</name>
    <message>
        <source>Wave Monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oscilloscope view not found: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
