; Kelvork 界面文字：简体中文。每节对应一个窗口或一类文字；换行写作 \r\n。
; 值前后有需要保留的空格时，整个值用双引号括起。

[System]
Application.Title=指纹考勤管理系统
VisibleFingerPrinter=1

[LanguageOptions]
FontName=宋体
FontSize=9
FontCharSet=1

[Resource]
MsgCaption1=提示信息
MsgCaption2=请确认...
SelAll=全部
DisposeRecord=删除
CheckType1=上班签到
CheckType2=下班签退
CheckType3=加班到
CheckType4=加班退
CheckType5=外出
CheckType6=外出回
Hour=小时
Minute=分钟
Day=工作日
Company=总公司
Unit1=天
Unit2=周
Unit3=月
Beaway=公出
RecordEditType1=增加
RecordEditType2=修改
RecordEditType3=删除
LinkDBError=数据库连接失败，请重新配置数据库！
ExitSystem="确定要退出考勤管理系统吗？   "
NoRight=您没有该功能的使用权限，请与管理员联系！
FileExist=此文件夹中已包含一个名为" %s "的文件,\r\n是否替换现有文件?
OutFile=记录已成功导出到“ %s ”
OutFileFail=文件导出失败：%s
SaveDialogOutFilter=文本文档 (*.txt)|*.txt|Microsoft Excel 文件 (*.xlsx)|*.xlsx
DataLinkIncomplete=请选择数据库文件或填写数据库名称！
ErrorSystemUser=管理员输入错误！
ErrorPwd=管理员密码输入错误，还有 %d 次机会，\r\n请重新输入您的密码！
AutoExitSystem=管理员密码输入错误，系统终止运行！
ErrorDeptlist=读取部门列表错误，请重新进行部门管理！
DelOpSelf=管理员不能删除自己的资料！
DeleteOP=" 确定要删除该管理员吗？"
MondifyData=数据已改动，是否要保存？
OldPwdError=旧密码输入不正确，请重新输入！
NosamePwd=输入的新密码和确认密码不一致，请重新输入！
EditPwdOK=管理员密码修改成功！
WriteOPLog1=将数据库连接到：
WriteOPLog2=初始化系统
WriteOPLog3="删除管理员 "
WriteOPLog4="增加管理员 "
WriteOPLog5="删除部门 "
WriteOPLog6=进行员工维护，删除员工
WriteOPLog7=操作系统参数设定
WriteOPLog8=操作节假日设定
WriteOPLog9=由文件“ %s ”导入考勤记录
WriteOPLog10=由文件“ %s ”导入员工
WriteOPLog11=操作公出/请假处理
WriteOPLog12=清除 “ %s ” 之前的数据
Times=次
NotANumber=“%s”不是有效的数值，请重新输入！
MinUnitNotPositive=最小单位数必须大于0，请重新输入！
LeaveNameEmpty=请输入假类名称！
LeaveNameExists=该假类名称已经存在，请重新输入！
LeaveNameReserved=假类名称“%s”是统计表的固定字段名，请重新输入！
DeleteHDtype=确定要删除选中的假类吗？
SameValue=输入的字段值已经存在，请重新输入！
DeleteValue=您确定要删除该字段值吗？

[Frmmain]
Frmmain.Caption=指纹考勤管理系统
S1.Caption=系统(&S)
C1.Caption=参数设定(&C)
G1.Caption=管理员设置(&O)
B1.Caption=管理员设置密码(&P)
L2.Caption=记录修改日志(&M)
N11.Caption=管理员操作日志(&Z)
L1.Caption=设置数据库连接(&L)
X1.Caption=退出系统
R3.Caption=人事管理(&R)
M1.Caption=部门管理
G2.Caption=员工维护
C2.Caption=考勤管理(&C)
R1.Caption=节假日设定(&H)
B2.Caption=班次设定
P1.Caption=员工排班
R2.Caption=出勤记录(&R)
K1.Caption=考勤统计报表
N3.Caption=异常处理(&Y)
Q1.Caption=员工公出/请假
W1.Caption=忘记签到/签退处理
T1.Caption=集体签到/签退处理(&T)
J1.Caption=集体迟到/早退处理(&J)
W2.Caption=数据维护(&W)
M2.Caption=导入人员名单
I1.Caption=导入考勤记录
C3.Caption=清除过期数据(&C)
Y1.Caption=压缩和修复数据库(&Y)
B3.Caption=备份数据库(&B)
X2.Caption=初始化系统(&X)
O1.Caption=外接程序(&O)
S2.Caption=外接程序管理(&S)
L4.Caption=连接考勤机(&L)
N5.Caption=帮助(&H)
A1.Caption=关于(&A)...
S_User.Caption=员工维护
S_Class.Caption=班次设定
S_UClass.Caption=员工排班
S_Record.Caption=出勤记录
S_Report.Caption=统计报表
S_ClearData.Caption=清除数据
S_NoIn.Caption=忘记考勤
S_Free.Caption=员工请假
S_ShrinkData.Caption=压缩数据库
S_Close.Caption=退出系统
SB_.Panels[2].Text=Kelvork 指纹考勤管理系统
SB_.Panels[3].Text=技术支持：请联系系统管理员

[FrmAbout]
FrmAbout.Caption=关于

[FrmDataLink]
FrmDataLink.Caption=设置数据库连接
R_File.Caption=数据库文件(&F)
R_Server.Caption=数据库服务器(&S)
L_File.Caption=文件:
S_Browse.Caption=浏览(&B)...
L_Host.Caption=服务器:
L_Port.Caption=端口:
L_Database.Caption=数据库:
L_User.Caption=用户名:
L_Password.Caption=密码:
S_OK.Caption=确定(&O)
S_Exit.Caption=取消(&C)
OpenDialog.Filter=数据库文件 (*.db *.sqlite);;所有文件 (*)

[FrmLogin]
FrmLogin.Caption=系统登录...
M_name.Caption=管理员姓名:
M_Password.Caption=管理员密码:
SP_OK.Caption=确定(&O)
SP_Exit.Caption=取消(&C)

[Frmop]
Frmop.Caption=管理员设置
Label1.Caption=可操作项目:
Label2.Caption=管理员姓名:
Label3.Caption=注意，新增管理员的密码缺省是517306，请及时更改！
Label4.Caption=可操作部门:
DB_OPColumn1.Caption=姓名
SpeedButton1.Caption=全选
SpeedButton2.Caption=全不选
S_all.Caption=全选
S_None.Caption=全不选
C_limit.Items.Text=管理员设置/管理员操作日志\r\n系统参数设定\r\n部门管理\r\n员工维护\r\n班次设定\r\n员工排班\r\n出勤记录/记录修改日志\r\n考勤统计报表\r\n节假日设定\r\n员工公出/请假\r\n忘记签到/签退处理 集体签到/签退处理\r\n集体迟到/早退处理\r\n导入人员名单\r\n导入考勤记录\r\n清除过期数据\r\n初始化系统

[FrmPass]
FrmPass.Caption=管理员修改密码
Label1.Caption=旧密码:
Label2.Caption=新密码:
Label3.Caption=确认密码:
S_OK.Caption=确定(&O)
S_Exit.Caption=取消(&C)

[FrmUser]
T_Insert.Caption=增加(&A)
T_Del.Caption=删除(&D)
T_Edit.Caption=修改(&E)
T_Save.Caption=保存(&S)
T_Cancel.Caption=取消(&C)

[FrmOpLog]
FrmOpLog.Caption=管理员操作日志
Label1.Caption=管理员:
Label2.Caption=从
Label3.Caption=到
S_Search.Caption=开始查找
S_Close.Caption=" 关 闭 "
GroupBox1.Caption=起止时间
DB_OplogColumn1.Caption=序号
DB_OplogColumn2.Caption=姓名
DB_OplogColumn3.Caption=日期时间
DB_OplogColumn4.Caption=备注说明

[FrmSet]
FrmSet.Caption=系统参数设定
TabSheet1.Caption=" 基本参数 "
TabSheet2.Caption=" 统计规则 "
TabSheet3.Caption=" 假类设置 "
TabSheet4.Caption=" 字段定义 "
S_OK.Caption=确定(&O)
S_Exit.Caption=取消(&C)
Label1.Caption=单位名称：
Label2.Caption=一个工作日计为
Label3.Caption=分钟
Label4.Caption=分钟
Label5.Caption=分钟
Label6.Caption=分钟前签到记加班
Label7.Caption=分钟后签退记加班
Label8.Caption=平日:
Label9.Caption=假日:
Label10.Caption=节日:
Label11.Caption=统计项目:
Label12.Caption=统计单位:
Label13.Caption=最小单位数:
Label14.Caption=假类名称:
Label15.Caption=表示颜色:
Label16.Caption=表示字符:
Label17.Caption=字段名称:
Label18.Caption=输入新的字段值:
C_Noin.Caption=上班无签到时记为迟到
C_Noout.Caption=下班无签退时记为早退
C_AutoaddIn.Caption=上班
C_Autoadd.Caption=下班
C_DeductIn.Caption=上班是否进行扣除
C_DeductOut.Caption=下班是否进行扣除
GroupBox1.Caption=时段跨两日时
B_day1.Caption=计为第一日
B_day2.Caption=计为第二日
GroupBox2.Caption=加班倍率定义
GroupBox3.Caption=舍入控制
T_xm.Items.Text=正常\r\n迟到\r\n早退\r\n公出\r\n请假\r\n旷工\r\n外出\r\n加班\r\n自由加班
T_name.Items.Text=分钟\r\n小时\r\n工作日
T_sr1.Caption=向下舍弃
T_sr2.Caption=向上进位
T_sr3.Caption=四舍五入
T_lj.Caption=累计后进行舍入
T_ac.Caption=按次数进行计算
DB_LeaveColumn1.Caption=名称
DB_LeaveColumn2.Caption=颜色
Z_type.Items.Text=职务\r\n学历\r\n专业\r\n民族
Z_Add.Caption=增加(&A)
Z_Del.Caption=删除(&D)
