<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AlarmInfoFrame</name>
    <message>
        <source>Alarm Information</source>
        <translation>报警信息</translation>
    </message>
    <message>
        <source>查找限定字符</source>
        <translation>查找限定字符</translation>
    </message>
    <message>
        <source>查找报警</source>
        <translation>查找报警</translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation>清除查找</translation>
    </message>
    <message>
        <source>清除当前报警</source>
        <translation>清除当前报警</translation>
    </message>
    <message>
        <source>导出报警记录</source>
        <translation>导出报警记录</translation>
    </message>
    <message>
        <source>报警使能</source>
        <translation>报警使能</translation>
    </message>
    <message>
        <source>浮锁</source>
        <translation>浮锁</translation>
    </message>
    <message>
        <source>滑牙</source>
        <translation>滑牙</translation>
    </message>
    <message>
        <source>Solution:</source>
        <translation>解决方法：</translation>
    </message>
    <message>
        <source>报警编号</source>
        <translation>报警编号</translation>
    </message>
    <message>
        <source>报警级别</source>
        <translation>报警级别</translation>
    </message>
    <message>
        <source>报警名称</source>
        <translation>报警名称</translation>
    </message>
    <message>
        <source>报警原因</source>
        <translation>报警原因</translation>
    </message>
    <message>
        <source>解决方法</source>
        <translation>解决方法</translation>
    </message>
    <message>
        <source>报警时间</source>
        <translation>报警时间</translation>
    </message>
    <message>
        <source>undefine</source>
        <translation>未定义</translation>
    </message>
    <message>
        <source>Export Alarm Record</source>
        <translation>导出报警记录</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Alarm record export failed!</source>
        <translation>报警记录导出失败！</translation>
    </message>
</context>
<context>
    <name>AppDebugFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>实时数据</source>
        <translation>实时数据</translation>
    </message>
    <message>
        <source>当前扭矩</source>
        <translation>当前扭矩</translation>
    </message>
    <message>
        <source>当前转速</source>
        <translation>当前转速</translation>
    </message>
    <message>
        <source>电批启动</source>
        <translation>电批启动</translation>
    </message>
    <message>
        <source>电批停止</source>
        <translation>电批停止</translation>
    </message>
    <message>
        <source>电批设置</source>
        <translation>电批设置</translation>
    </message>
    <message>
        <source>电批方向</source>
        <translation>电批方向</translation>
    </message>
    <message>
        <source>正向</source>
        <translation>正向</translation>
    </message>
    <message>
        <source>反向</source>
        <translation>反向</translation>
    </message>
    <message>
        <source>控制方式</source>
        <translation>控制方式</translation>
    </message>
    <message>
        <source>PC控制</source>
        <translation>PC控制</translation>
    </message>
    <message>
        <source>IO控制</source>
        <translation>IO控制</translation>
    </message>
    <message>
        <source>输入输出</source>
        <translation>输入输出</translation>
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
        <translation>提示</translation>
    </message>
    <message>
        <source>Please select PC control first!</source>
        <translation>请先选择PC控制！</translation>
    </message>
</context>
<context>
    <name>AppParamFrame</name>
    <message>
        <source>App Parameters</source>
        <translation>应用参数</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>上传</source>
        <translation>上传</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>恢复默认</translation>
    </message>
    <message>
        <source>菜单列表</source>
        <translation>菜单列表</translation>
    </message>
    <message>
        <source>二级菜单1</source>
        <translation>二级菜单1</translation>
    </message>
    <message>
        <source>二级菜单2</source>
        <translation>二级菜单2</translation>
    </message>
    <message>
        <source>二级菜单3</source>
        <translation>二级菜单3</translation>
    </message>
    <message>
        <source>二级菜单4</source>
        <translation>二级菜单4</translation>
    </message>
    <message>
        <source>二级菜单5</source>
        <translation>二级菜单5</translation>
    </message>
    <message>
        <source>二级菜单6</source>
        <translation>二级菜单6</translation>
    </message>
    <message>
        <source>二级菜单7</source>
        <translation>二级菜单7</translation>
    </message>
    <message>
        <source>二级菜单8</source>
        <translation>二级菜单8</translation>
    </message>
    <message>
        <source>二级菜单9</source>
        <translation>二级菜单9</translation>
    </message>
    <message>
        <source>二级菜单10</source>
        <translation>二级菜单10</translation>
    </message>
    <message>
        <source>二级菜单11</source>
        <translation>二级菜单11</translation>
    </message>
    <message>
        <source>二级菜单12</source>
        <translation>二级菜单12</translation>
    </message>
    <message>
        <source>一级菜单1</source>
        <translation>一级菜单1</translation>
    </message>
    <message>
        <source>一级菜单2</source>
        <translation>一级菜单2</translation>
    </message>
    <message>
        <source>一级菜单3</source>
        <translation>一级菜单3</translation>
    </message>
    <message>
        <source>一级菜单4</source>
        <translation>一级菜单4</translation>
    </message>
    <message>
        <source>一级菜单5</source>
        <translation>一级菜单5</translation>
    </message>
    <message>
        <source>一级菜单6</source>
        <translation>一级菜单6</translation>
    </message>
    <message>
        <source>一级菜单7</source>
        <translation>一级菜单7</translation>
    </message>
    <message>
        <source>一级菜单8</source>
        <translation>一级菜单8</translation>
    </message>
    <message>
        <source>一级菜单9</source>
        <translation>一级菜单9</translation>
    </message>
    <message>
        <source>一级菜单10</source>
        <translation>一级菜单10</translation>
    </message>
    <message>
        <source>一级菜单11</source>
        <translation>一级菜单11</translation>
    </message>
    <message>
        <source>一级菜单12</source>
        <translation>一级菜单12</translation>
    </message>
    <message>
        <source>菜单1</source>
        <translation>菜单1</translation>
    </message>
    <message>
        <source>菜单2</source>
        <translation>菜单2</translation>
    </message>
    <message>
        <source>菜单3</source>
        <translation>菜单3</translation>
    </message>
    <message>
        <source>菜单4</source>
        <translation>菜单4</translation>
    </message>
    <message>
        <source>菜单5</source>
        <translation>菜单5</translation>
    </message>
    <message>
        <source>菜单6</source>
        <translation>菜单6</translation>
    </message>
    <message>
        <source>菜单7</source>
        <translation>菜单7</translation>
    </message>
    <message>
        <source>菜单8</source>
        <translation>菜单8</translation>
    </message>
    <message>
        <source>步骤</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>圈数(r)</source>
        <translation>圈数(r)</translation>
    </message>
    <message>
        <source>速度(rpm)</source>
        <translation>速度(rpm)</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>当前值</source>
        <translation>当前值</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>新值</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>范围</translation>
    </message>
    <message>
        <source>有符号</source>
        <translation>有符号</translation>
    </message>
    <message>
        <source>无</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>App param(%1) group error!</source>
        <translation>应用参数(%1)分组错误！</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a value of this parameter</source>
        <translation>%1：“%2”不是该参数的有效值</translation>
    </message>
    <message>
        <source>%1: the device did not confirm the write</source>
        <translation>%1：设备未确认写入</translation>
    </message>
    <message>
        <source>These values were not written:
%1</source>
        <translation>以下值未写入：
%1</translation>
    </message>
    <message>
        <source>The parameters imported will be uploaded 
again. Do you want to continue?</source>
        <translation>导入的参数将重新上传，
是否继续？</translation>
    </message>
    <message>
        <source>Are you sure you want to restore factory settings?</source>
        <translation>确定要恢复出厂设置吗？</translation>
    </message>
    <message>
        <source>Export App Params</source>
        <translation>导出应用参数</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Import App Params</source>
        <translation>导入应用参数</translation>
    </message>
    <message>
        <source>App params export failed!</source>
        <translation>应用参数导出失败！</translation>
    </message>
    <message>
        <source>The imported parameters do not 
match the current device type!</source>
        <translation>导入的参数与
当前设备类型不匹配！</translation>
    </message>
    <message>
        <source>The parameter file format is wrong!</source>
        <translation>参数文件格式错误！</translation>
    </message>
</context>
<context>
    <name>ComSettingsFrame</name>
    <message>
        <source>Comm Settings</source>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>连接方式</translation>
    </message>
    <message>
        <source>Ethernet (Modbus TCP)</source>
        <translation>以太网 (Modbus TCP)</translation>
    </message>
    <message>
        <source>Serial (Modbus RTU)</source>
        <translation>串口 (Modbus RTU)</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>波特率</translation>
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
        <translation>校验位</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>数据位</translation>
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
        <translation>停止位</translation>
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
        <translation>串口调试...</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message>
        <source>Remote IP</source>
        <translation>远程 IP</translation>
    </message>
    <message>
        <source>127.0.0.1</source>
        <translation>127.0.0.1</translation>
    </message>
    <message>
        <source>Remote port</source>
        <translation>远程端口</translation>
    </message>
    <message>
        <source>9760</source>
        <translation>9760</translation>
    </message>
    <message>
        <source>Network debugging...</source>
        <translation>网络调试...</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Device type</source>
        <translation>设备类型</translation>
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
        <translation>设备地址</translation>
    </message>
    <message>
        <source>Check that the device answers when connecting</source>
        <translation>连接时检查设备是否应答</translation>
    </message>
    <message>
        <source>Devices found</source>
        <translation>已发现设备</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>已断开</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation>打开失败！</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <source>Connect failure: no answer from %1:%2</source>
        <translation>连接失败：%1:%2 无应答</translation>
    </message>
    <message>
        <source>Checking device %1...</source>
        <translation>正在检查设备 %1...</translation>
    </message>
    <message>
        <source>No device answers at address %1.</source>
        <translation>地址 %1 处没有设备应答。</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Connect failure: %1</source>
        <translation>连接失败：%1</translation>
    </message>
    <message>
        <source>Link lost: %1</source>
        <translation>连接中断：%1</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Link lost: the device does not answer.</source>
        <translation>连接中断：设备无应答。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Connected. Devices found: %1</source>
        <translation>已连接。已发现设备：%1</translation>
    </message>
    <message>
        <source>Searching address %1 of %2...</source>
        <translation>正在搜索地址 %1 / %2...</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Invalid port &quot;%1&quot;: enter a number from 1 to 65535.</source>
        <translation>端口“%1”无效：请输入 1 到 65535 之间的数字。</translation>
    </message>
</context>
<context>
    <name>CompatibilityDialog</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>There are differences in the options of curve display configuration parameters (parameters 92 and 93) between new and old versions of servo program. If it is found that the waveform display is obviously inconsistent with the actual situation, please check or remove this option and try again. </source>
        <translation>新旧版本伺服程序的曲线显示配置参数（参数92和93）选项存在差异。如果发现波形显示与实际情况明显不符，请勾选或取消此选项后重试。 </translation>
    </message>
    <message>
        <source>Use the old version curve display config options.</source>
        <translation>使用旧版本曲线显示配置选项。</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Failed to save the option!</source>
        <translation>保存选项失败！</translation>
    </message>
</context>
<context>
    <name>CustomItemDelegate</name>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Input out of range(%1~%2) or decimals(%3 decimal places)!</source>
        <translation>输入超出范围(%1~%2)或小数位数错误(%3 位小数)！</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>The database file %1 cannot be used: its folder cannot be created.
The program goes on without stored accounts, records and settings.</source>
        <translation>数据库文件 %1 无法使用：无法创建其所在文件夹。
程序将在没有已保存的账户、记录和设置的情况下继续运行。</translation>
    </message>
    <message>
        <source>The database file %1 cannot be used: %2.
What cannot be read shows as empty or default and no setting is saved over it; new records are kept and stored as soon as the file takes them again.</source>
        <translation>数据库文件 %1 无法使用：%2。
无法读取的内容显示为空或默认值，且不会覆盖保存任何设置；新记录将被保留，待文件可写入时立即保存。</translation>
    </message>
    <message>
        <source>another program is using it</source>
        <translation>另一个程序正在使用它</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <translation>它是只读的</translation>
    </message>
    <message>
        <source>it is damaged or not a database</source>
        <translation>它已损坏或不是数据库</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>磁盘已满</translation>
    </message>
    <message>
        <source>it cannot be opened or read</source>
        <translation>无法打开或读取它</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>无法读取它</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>IOMonitorFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>Input Monitor</source>
        <translation>输入监视</translation>
    </message>
    <message>
        <source>Output Monitor</source>
        <translation>输出监视</translation>
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
        <translation>伺服调试</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Anticlockwise</source>
        <translation>逆时针</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>顺时针</translation>
    </message>
    <message>
        <source>Axis0</source>
        <translation>轴0</translation>
    </message>
    <message>
        <source>Axis1</source>
        <translation>轴1</translation>
    </message>
    <message>
        <source>Axis2</source>
        <translation>轴2</translation>
    </message>
    <message>
        <source>Axis3</source>
        <translation>轴3</translation>
    </message>
    <message>
        <source>Axis4</source>
        <translation>轴4</translation>
    </message>
    <message>
        <source>Axis5</source>
        <translation>轴5</translation>
    </message>
    <message>
        <source>Axis6</source>
        <translation>轴6</translation>
    </message>
    <message>
        <source>Axis7</source>
        <translation>轴7</translation>
    </message>
    <message>
        <source>最大转矩</source>
        <translation>最大转矩</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>速度模式</source>
        <translation>速度模式</translation>
    </message>
    <message>
        <source>位置模式</source>
        <translation>位置模式</translation>
    </message>
    <message>
        <source>置顶</source>
        <translation>置顶</translation>
    </message>
    <message>
        <source>往复运动</source>
        <translation>往复运动</translation>
    </message>
    <message>
        <source>目标位置1</source>
        <translation>目标位置1</translation>
    </message>
    <message>
        <source>目标位置2</source>
        <translation>目标位置2</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>清除报警</source>
        <translation>清除报警</translation>
    </message>
    <message>
        <source>全部使能</source>
        <translation>全部使能</translation>
    </message>
    <message>
        <source>Jog调试模式</source>
        <translation>Jog调试模式</translation>
    </message>
    <message>
        <source>主站伺服调试</source>
        <translation>主站伺服调试</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>轴号</source>
        <translation>轴号</translation>
    </message>
    <message>
        <source>当前位置</source>
        <translation>当前位置</translation>
    </message>
    <message>
        <source>模式</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>转矩</source>
        <translation>转矩</translation>
    </message>
    <message>
        <source>加速时间(ms)</source>
        <translation>加速时间(ms)</translation>
    </message>
    <message>
        <source>减速时间(ms)</source>
        <translation>减速时间(ms)</translation>
    </message>
    <message>
        <source>速度(r/min)</source>
        <translation>速度(r/min)</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>伺服使能</source>
        <translation>伺服使能</translation>
    </message>
    <message>
        <source>正</source>
        <translation>正</translation>
    </message>
    <message>
        <source>反</source>
        <translation>反</translation>
    </message>
    <message>
        <source>使能</source>
        <translation>使能</translation>
    </message>
    <message>
        <source>无</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>LanguageSettingFrame</name>
    <message>
        <source>Language Setting</source>
        <translation>语言设置</translation>
    </message>
    <message>
        <source>Simplified Chinese</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
</context>
<context>
    <name>LinkPage</name>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Invalid hex text!</source>
        <translation>无效的十六进制文本！</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>主窗口</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1 records are not stored yet. Quit anyway?</source>
        <translation>%1 条记录尚未保存。仍要退出吗？</translation>
    </message>
    <message>
        <source>Jog Debug Mod</source>
        <translation>Jog 调试模式</translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation>语言设置</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please login first!</source>
        <translation>请先登录！</translation>
    </message>
    <message>
        <source>Servo monitor and debug software </source>
        <translation>伺服监控调试软件 </translation>
    </message>
    <message>
        <source>Commissioning and diagnostics for servo drives and screwdriver controllers.</source>
        <translation>伺服驱动器与电批控制器的调试与诊断工具。</translation>
    </message>
    <message>
        <source>About Software</source>
        <translation>关于软件</translation>
    </message>
</context>
<context>
    <name>MenuAreaFrame</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>System Settings</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>User Login</source>
        <translation>用户登录</translation>
    </message>
    <message>
        <source>Comm Settings</source>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>Perm Settings</source>
        <translation>权限设置</translation>
    </message>
    <message>
        <source>Dev Information</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>System Update</source>
        <translation>系统更新</translation>
    </message>
    <message>
        <source>About Software</source>
        <translation>关于软件</translation>
    </message>
    <message>
        <source>Servo Settings</source>
        <translation>伺服设置</translation>
    </message>
    <message>
        <source>Servo Parameters</source>
        <translation>伺服参数</translation>
    </message>
    <message>
        <source>Servo Debugging</source>
        <translation>伺服调试</translation>
    </message>
    <message>
        <source>App Settings</source>
        <translation>应用设置</translation>
    </message>
    <message>
        <source>App Parameters</source>
        <translation>应用参数</translation>
    </message>
    <message>
        <source>App Debugging</source>
        <translation>应用调试</translation>
    </message>
    <message>
        <source>Monitor Information</source>
        <translation>监视信息</translation>
    </message>
    <message>
        <source>IO Monitoring</source>
        <translation>IO 监视</translation>
    </message>
    <message>
        <source>Alarm Information</source>
        <translation>报警信息</translation>
    </message>
    <message>
        <source>Work Waveform</source>
        <translation>工作波形</translation>
    </message>
    <message>
        <source>Wave Monitor</source>
        <translation>波形监视</translation>
    </message>
    <message>
        <source>statistics Analysis</source>
        <translation>统计分析</translation>
    </message>
    <message>
        <source>Work Record</source>
        <translation>工作记录</translation>
    </message>
</context>
<context>
    <name>MenuBarFrame</name>
    <message>
        <source>Exec Task%1</source>
        <translation>执行任务%1</translation>
    </message>
    <message>
        <source>Lock Start</source>
        <translation>拧紧启动</translation>
    </message>
    <message>
        <source>Lock Stop</source>
        <translation>拧紧停止</translation>
    </message>
    <message>
        <source>Unlock Start</source>
        <translation>松开启动</translation>
    </message>
    <message>
        <source>Unlock Stop</source>
        <translation>松开停止</translation>
    </message>
    <message>
        <source>Free Start</source>
        <translation>自由运行启动</translation>
    </message>
    <message>
        <source>Free Stop</source>
        <translation>自由运行停止</translation>
    </message>
    <message>
        <source>App Param</source>
        <translation>应用参数</translation>
    </message>
    <message>
        <source>Task Plan</source>
        <translation>任务规划</translation>
    </message>
    <message>
        <source>兼容性选项</source>
        <translation>兼容性选项</translation>
    </message>
    <message>
        <source>主站伺服调试</source>
        <translation>主站伺服调试</translation>
    </message>
    <message>
        <source>主站系统更新</source>
        <translation>主站系统更新</translation>
    </message>
    <message>
        <source>Jog调试模式</source>
        <translation>Jog调试模式</translation>
    </message>
    <message>
        <source>烧录工具</source>
        <translation>烧录工具</translation>
    </message>
    <message>
        <source>语言设置</source>
        <translation>语言设置</translation>
    </message>
    <message>
        <source>使用说明</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <source>关于软件</source>
        <translation>关于软件</translation>
    </message>
    <message>
        <source>Com Setting</source>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>Servo Param</source>
        <translation>伺服参数</translation>
    </message>
    <message>
        <source>Wave View</source>
        <translation>波形监视</translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation>应用调试</translation>
    </message>
    <message>
        <source>Work Record</source>
        <translation>工作记录</translation>
    </message>
    <message>
        <source>Alarm Info</source>
        <translation>报警信息</translation>
    </message>
    <message>
        <source>IO Monitor</source>
        <translation>IO 监视</translation>
    </message>
    <message>
        <source>Clear Alarm</source>
        <translation>清除报警</translation>
    </message>
    <message>
        <source>登录密码</source>
        <translation>登录密码</translation>
    </message>
    <message>
        <source>请输入管理员密码！</source>
        <translation>请输入管理员密码！</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>密码错误！</source>
        <translation>密码错误！</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The burn tool could not be started: %1</source>
        <translation>无法启动烧录工具：%1</translation>
    </message>
    <message>
        <source>The burn tool is not installed: %1</source>
        <translation>未安装烧录工具：%1</translation>
    </message>
    <message>
        <source>No user manual was found in %1</source>
        <translation>在 %1 中未找到使用说明</translation>
    </message>
    <message>
        <source>The user manual could not be opened: %1</source>
        <translation>无法打开使用说明：%1</translation>
    </message>
</context>
<context>
    <name>ModifyPswDialog</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Input Old Passward</source>
        <translation>输入旧密码</translation>
    </message>
    <message>
        <source>Input New Passward</source>
        <translation>输入新密码</translation>
    </message>
    <message>
        <source>Confirm Passward</source>
        <translation>确认密码</translation>
    </message>
    <message>
        <source>Show Passward</source>
        <translation>显示密码</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Please input old password!</source>
        <translation>请输入旧密码！</translation>
    </message>
    <message>
        <source>Please input new password!</source>
        <translation>请输入新密码！</translation>
    </message>
    <message>
        <source>Please input confirm password!</source>
        <translation>请输入确认密码！</translation>
    </message>
    <message>
        <source>Old password input error!</source>
        <translation>旧密码输入错误！</translation>
    </message>
    <message>
        <source>New password confirm error!</source>
        <translation>两次输入的新密码不一致！</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Failed to save the account!</source>
        <translation>保存账号失败！</translation>
    </message>
</context>
<context>
    <name>NetworkHelper</name>
    <message>
        <source>Network Debugging</source>
        <translation>网络调试</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation>调试模式</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>连接已关闭</translation>
    </message>
    <message>
        <source>Client connected: %1</source>
        <translation>客户端已连接：%1</translation>
    </message>
    <message>
        <source>Client disconnected: %1</source>
        <translation>客户端已断开：%1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>监听</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Listen failure!</source>
        <translation>监听失败！</translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation>发送失败！</translation>
    </message>
</context>
<context>
    <name>ParamFileReader</name>
    <message>
        <source>The file is too large for a parameter file (more than %1 KB)!</source>
        <translation>文件太大，不能作为参数文件（超过 %1 KB）！</translation>
    </message>
</context>
<context>
    <name>PermManageDialog</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>设备类型</source>
        <translation>设备类型</translation>
    </message>
    <message>
        <source>电批设备</source>
        <translation>电批设备</translation>
    </message>
    <message>
        <source>高压伺服</source>
        <translation>高压伺服</translation>
    </message>
    <message>
        <source>低压伺服</source>
        <translation>低压伺服</translation>
    </message>
    <message>
        <source>门机设备</source>
        <translation>门机设备</translation>
    </message>
    <message>
        <source>其他设备1</source>
        <translation>其他设备1</translation>
    </message>
    <message>
        <source>其他设备2</source>
        <translation>其他设备2</translation>
    </message>
    <message>
        <source>其他设备3</source>
        <translation>其他设备3</translation>
    </message>
    <message>
        <source>其他设备4</source>
        <translation>其他设备4</translation>
    </message>
    <message>
        <source>其他设备5</source>
        <translation>其他设备5</translation>
    </message>
    <message>
        <source>权限分配</source>
        <translation>权限分配</translation>
    </message>
    <message>
        <source>报警管理</source>
        <translation>报警管理</translation>
    </message>
    <message>
        <source>记录管理</source>
        <translation>记录管理</translation>
    </message>
    <message>
        <source>权限管理</source>
        <translation>权限管理</translation>
    </message>
    <message>
        <source>波形监视</source>
        <translation>波形监视</translation>
    </message>
    <message>
        <source>应用调试</source>
        <translation>应用调试</translation>
    </message>
    <message>
        <source>应用设置</source>
        <translation>应用设置</translation>
    </message>
    <message>
        <source>伺服调试</source>
        <translation>伺服调试</translation>
    </message>
    <message>
        <source>伺服设置</source>
        <translation>伺服设置</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>New Account</source>
        <translation>新增账号</translation>
    </message>
    <message>
        <source>Modify Account</source>
        <translation>修改账号</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>PermManageFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>帐号</source>
        <translation>帐号</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>权限</source>
        <translation>权限</translation>
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
        <translation>报警管理</translation>
    </message>
    <message>
        <source>Record Manage</source>
        <translation>记录管理</translation>
    </message>
    <message>
        <source>Perm Manage</source>
        <translation>权限管理</translation>
    </message>
    <message>
        <source>Wave Monitor</source>
        <translation>波形监视</translation>
    </message>
    <message>
        <source>App Debug</source>
        <translation>应用调试</translation>
    </message>
    <message>
        <source>App Setting</source>
        <translation>应用设置</translation>
    </message>
    <message>
        <source>Servo Debug</source>
        <translation>伺服调试</translation>
    </message>
    <message>
        <source>Servo Setting</source>
        <translation>伺服设置</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>This account is already exists!</source>
        <translation>该账号已存在！</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please select account!</source>
        <translation>请选择账号！</translation>
    </message>
    <message>
        <source>Failed to delete the account!</source>
        <translation>删除账号失败！</translation>
    </message>
    <message>
        <source>Failed to save the account!</source>
        <translation>保存账号失败！</translation>
    </message>
</context>
<context>
    <name>RecordTableModel</name>
    <message numerus="yes">
        <source>%n record(s) not stored yet: the database file cannot be written. They are kept and stored as soon as it can.</source>
        <translation>
            <numerusform>%n 条记录尚未保存：数据库文件无法写入。记录已保留，待可写入时立即保存。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SerialPortHelper</name>
    <message>
        <source>Serial Debugging</source>
        <translation>串口调试</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation>调试模式</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空格校验</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记校验</translation>
    </message>
    <message>
        <source>No serial port selected</source>
        <translation>未选择串口</translation>
    </message>
    <message>
        <source>Serial port %1 lost: %2</source>
        <translation>串口 %1 已断开：%2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Invalid baud rate</source>
        <translation>无效的波特率</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Open failure!</source>
        <translation>打开失败！</translation>
    </message>
    <message>
        <source>Send failure!</source>
        <translation>发送失败！</translation>
    </message>
</context>
<context>
    <name>ServoParamFrame</name>
    <message>
        <source>Servo Parameters</source>
        <translation>伺服参数</translation>
    </message>
    <message>
        <source>有符号</source>
        <translation>有符号</translation>
    </message>
    <message>
        <source>无符号</source>
        <translation>无符号</translation>
    </message>
    <message>
        <source>十六进制</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>二进制</source>
        <translation>二进制</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Servo param(%1) group error!</source>
        <translation>伺服参数(%1)分组错误！</translation>
    </message>
    <message>
        <source>代号</source>
        <translation>代号</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>设备/轴</source>
        <translation>设备/轴</translation>
    </message>
    <message>
        <source>当前值</source>
        <translation>当前值</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>新值</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>范围</source>
        <translation>范围</translation>
    </message>
    <message>
        <source>当前值[%1/%2]</source>
        <translation>当前值[%1/%2]</translation>
    </message>
    <message>
        <source>无</source>
        <translation>无</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a value of this parameter</source>
        <translation>%1：“%2”不是该参数的有效值</translation>
    </message>
    <message>
        <source>%1: the device did not acknowledge the write</source>
        <translation>%1：设备未确认写入</translation>
    </message>
    <message>
        <source>These parameters were not written:
%1</source>
        <translation>以下参数未写入：
%1</translation>
    </message>
    <message>
        <source>The parameters imported will be uploaded 
again. Do you want to continue?</source>
        <translation>导入的参数将重新上传，
是否继续？</translation>
    </message>
    <message>
        <source>The current values of all parameters will be downloaded 
to the slave device. Do you want to continue?</source>
        <translation>所有参数的当前值将下载
到从站设备，是否继续？</translation>
    </message>
    <message>
        <source>Are you sure you want to restore factory settings?</source>
        <translation>确定要恢复出厂设置吗？</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The device is not connected: the factory settings were not restored!</source>
        <translation>设备未连接：未恢复出厂设置！</translation>
    </message>
    <message>
        <source>The link is busy: the factory settings were not restored, try again!</source>
        <translation>通讯繁忙：未恢复出厂设置，请重试！</translation>
    </message>
    <message>
        <source>Restoring the factory settings stopped: only %1 of %2 requests were sent!</source>
        <translation>恢复出厂设置已中止：仅发送了 %1 / %2 个请求！</translation>
    </message>
    <message>
        <source>Servo parameter export only supports single device!</source>
        <translation>伺服参数导出仅支持单个设备！</translation>
    </message>
    <message>
        <source>Export Servo Params</source>
        <translation>导出伺服参数</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Import Servo Params</source>
        <translation>导入伺服参数</translation>
    </message>
    <message>
        <source>Servo parameters export failed!</source>
        <translation>伺服参数导出失败！</translation>
    </message>
    <message>
        <source>The parameter file format is wrong!</source>
        <translation>参数文件格式错误！</translation>
    </message>
    <message>
        <source>The imported parameters do not 
match the current device type!</source>
        <translation>导入的参数与
当前设备类型不匹配！</translation>
    </message>
    <message>
        <source>The parameter file cannot be opened!</source>
        <translation>无法打开参数文件！</translation>
    </message>
    <message>
        <source>This device has no axis %1: those values of the file are not shown.</source>
        <translation>该设备没有轴 %1：文件中的这些值未显示。</translation>
    </message>
    <message>
        <source>Values too large for their parameter were left empty, lines: %1</source>
        <translation>超出参数范围的数值已留空，所在行：%1</translation>
    </message>
</context>
<context>
    <name>SlaveConfigDialog</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Axis0</source>
        <translation>轴0</translation>
    </message>
    <message>
        <source>Axis1</source>
        <translation>轴1</translation>
    </message>
    <message>
        <source>Axis2</source>
        <translation>轴2</translation>
    </message>
    <message>
        <source>Axis3</source>
        <translation>轴3</translation>
    </message>
    <message>
        <source>Axis4</source>
        <translation>轴4</translation>
    </message>
    <message>
        <source>Axis5</source>
        <translation>轴5</translation>
    </message>
    <message>
        <source>Axis6</source>
        <translation>轴6</translation>
    </message>
    <message>
        <source>Axis7</source>
        <translation>轴7</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>Device Address</source>
        <translation>设备地址</translation>
    </message>
    <message>
        <source>Status1</source>
        <translation>状态1</translation>
    </message>
    <message>
        <source>Status2</source>
        <translation>状态2</translation>
    </message>
    <message>
        <source>Status3</source>
        <translation>状态3</translation>
    </message>
    <message>
        <source>Status4</source>
        <translation>状态4</translation>
    </message>
    <message>
        <source>Status5</source>
        <translation>状态5</translation>
    </message>
    <message>
        <source>Status6</source>
        <translation>状态6</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Column Left</source>
        <translation>左列</translation>
    </message>
    <message>
        <source>Column Right</source>
        <translation>右列</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>设备地址</source>
        <translation>设备地址</translation>
    </message>
    <message>
        <source>[轴%1]</source>
        <translation>[轴%1]</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>值</source>
        <translation>值</translation>
    </message>
</context>
<context>
    <name>StandbyFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
</context>
<context>
    <name>StatusAreaFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Status1</source>
        <translation>状态1</translation>
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
        <translation>状态2</translation>
    </message>
    <message>
        <source>Status3</source>
        <translation>状态3</translation>
    </message>
    <message>
        <source>Status4</source>
        <translation>状态4</translation>
    </message>
    <message>
        <source>Status5</source>
        <translation>状态5</translation>
    </message>
    <message>
        <source>Status6</source>
        <translation>状态6</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Not Login</source>
        <translation>未登录</translation>
    </message>
    <message>
        <source>用户登录</source>
        <translation>用户登录</translation>
    </message>
    <message>
        <source>退出登录</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Undone</source>
        <translation>未完成</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Slip</source>
        <translation>滑牙</translation>
    </message>
    <message>
        <source>Float</source>
        <translation>浮锁</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Turns</source>
        <translation>圈数</translation>
    </message>
    <message>
        <source>r</source>
        <translation>r</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>扭矩</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>rpm</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Servo Enable</source>
        <translation>伺服使能</translation>
    </message>
    <message>
        <source>Servo Ready</source>
        <translation>伺服就绪</translation>
    </message>
    <message>
        <source>Bus Voltage</source>
        <translation>母线电压</translation>
    </message>
    <message>
        <source>Comm Status</source>
        <translation>通讯状态</translation>
    </message>
    <message>
        <source>Location OK</source>
        <translation>定位完成</translation>
    </message>
</context>
<context>
    <name>SystemUpdateDialog</name>
    <message>
        <source>系统更新</source>
        <translation>系统更新</translation>
    </message>
    <message>
        <source>选择更新文件</source>
        <translation>选择更新文件</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>未选择更新文件!</source>
        <translation>未选择更新文件!</translation>
    </message>
    <message>
        <source>未找到更新文件!</source>
        <translation>未找到更新文件!</translation>
    </message>
    <message>
        <source>更新文件必须是 *.tar.bfe 文件!</source>
        <translation>更新文件必须是 *.tar.bfe 文件!</translation>
    </message>
    <message>
        <source>未找到解密工具 decrypt.bat!</source>
        <translation>未找到解密工具 decrypt.bat!</translation>
    </message>
    <message>
        <source>更新文件解包失败!</source>
        <translation>更新文件解包失败!</translation>
    </message>
    <message>
        <source>更新文件发送失败!</source>
        <translation>更新文件发送失败!</translation>
    </message>
    <message>
        <source>更新中...</source>
        <translation>更新中...</translation>
    </message>
    <message>
        <source>解包中(%1/%2)...</source>
        <translation>解包中(%1/%2)...</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>更新完成!</source>
        <translation>更新完成!</translation>
    </message>
</context>
<context>
    <name>UserLoginDialog</name>
    <message>
        <source>用户登录</source>
        <translation>用户登录</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>伺服电批</source>
        <translation>伺服电批</translation>
    </message>
    <message>
        <source>其他设备</source>
        <translation>其他设备</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Login failure!</source>
        <translation>登录失败！</translation>
    </message>
</context>
<context>
    <name>WorkRecordFrame</name>
    <message>
        <source>Work Record</source>
        <translation>工作记录</translation>
    </message>
    <message>
        <source>数据统计</source>
        <translation>数据统计</translation>
    </message>
    <message>
        <source>锁付成功</source>
        <translation>锁付成功</translation>
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
        <translation>锁付失败</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #FF0000;</source>
        <translation>color: #FFFFFF; background-color: #FF0000;</translation>
    </message>
    <message>
        <source>完成个数</source>
        <translation>完成个数</translation>
    </message>
    <message>
        <source>color: #FFFFFF; background-color: #49BDF8;</source>
        <translation>color: #FFFFFF; background-color: #49BDF8;</translation>
    </message>
    <message>
        <source>设定产量</source>
        <translation>设定产量</translation>
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
        <translation>计数清零</translation>
    </message>
    <message>
        <source>记录查询</source>
        <translation>记录查询</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>yyyy/MM/dd hh:mm:ss</source>
        <translation>yyyy/MM/dd hh:mm:ss</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>结束时间</translation>
    </message>
    <message>
        <source>任务号</source>
        <translation>任务号</translation>
    </message>
    <message>
        <source>任务0</source>
        <translation>任务0</translation>
    </message>
    <message>
        <source>任务1</source>
        <translation>任务1</translation>
    </message>
    <message>
        <source>任务2</source>
        <translation>任务2</translation>
    </message>
    <message>
        <source>任务3</source>
        <translation>任务3</translation>
    </message>
    <message>
        <source>任务4</source>
        <translation>任务4</translation>
    </message>
    <message>
        <source>锁付状态</source>
        <translation>锁付状态</translation>
    </message>
    <message>
        <source>未完成</source>
        <translation>未完成</translation>
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
        <translation>查找记录</translation>
    </message>
    <message>
        <source>清除查找</source>
        <translation>清除查找</translation>
    </message>
    <message>
        <source>清空记录</source>
        <translation>清空记录</translation>
    </message>
    <message>
        <source>导出记录</source>
        <translation>导出记录</translation>
    </message>
    <message>
        <source>螺孔号</source>
        <translation>螺孔号</translation>
    </message>
    <message>
        <source>锁付圈数</source>
        <translation>锁付圈数</translation>
    </message>
    <message>
        <source>锁付扭矩</source>
        <translation>锁付扭矩</translation>
    </message>
    <message>
        <source>锁付耗时</source>
        <translation>锁付耗时</translation>
    </message>
    <message>
        <source>锁付结果</source>
        <translation>锁付结果</translation>
    </message>
    <message>
        <source>锁付时间</source>
        <translation>锁付时间</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>Task%1</source>
        <translation>任务%1</translation>
    </message>
    <message>
        <source>Undone</source>
        <translation>未完成</translation>
    </message>
    <message>
        <source>Slip</source>
        <translation>滑牙</translation>
    </message>
    <message>
        <source>Float</source>
        <translation>浮锁</translation>
    </message>
    <message>
        <source>Screw Number</source>
        <translation>螺孔号</translation>
    </message>
    <message>
        <source>Task Number</source>
        <translation>任务号</translation>
    </message>
    <message>
        <source>Lock Turns</source>
        <translation>锁付圈数</translation>
    </message>
    <message>
        <source>Lock Torque</source>
        <translation>锁付扭矩</translation>
    </message>
    <message>
        <source>Used Time</source>
        <translation>锁付耗时</translation>
    </message>
    <message>
        <source>Lock Status</source>
        <translation>锁付状态</translation>
    </message>
    <message>
        <source>Lock Time</source>
        <translation>锁付时间</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>undefine</source>
        <translation>未定义</translation>
    </message>
    <message>
        <source>No Alarm</source>
        <translation>无报警</translation>
    </message>
    <message>
        <source>Lock Success</source>
        <translation>锁付成功</translation>
    </message>
    <message>
        <source>Lock Failure</source>
        <translation>锁付失败</translation>
    </message>
    <message>
        <source>Finish Product</source>
        <translation>完成个数</translation>
    </message>
    <message>
        <source>Total Product</source>
        <translation>设定产量</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Are you sure to clear work record?</source>
        <translation>确定要清空工作记录吗？</translation>
    </message>
    <message>
        <source>Work record clear failed!</source>
        <translation>工作记录清空失败！</translation>
    </message>
    <message>
        <source>The counters cannot be cleared while the database file cannot be read.</source>
        <translation>数据库文件无法读取，暂时不能清零计数。</translation>
    </message>
    <message>
        <source>Export Work Record</source>
        <translation>导出工作记录</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Work record export failed!</source>
        <translation>工作记录导出失败！</translation>
    </message>
</context>
<context>
    <name>WorkWaveformFrame</name>
    <message>
        <source>Wave Monitor</source>
        <translation>波形监视</translation>
    </message>
    <message>
        <source>Oscilloscope view not found: %1</source>
        <translation>未找到示波器视图：%1</translation>
    </message>
</context>
</TS>
