<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>播放 file，即视频录像机的备份文件（.ysk）。</translation>
    </message>
    <message>
        <source>The backup file to open.</source>
        <translation>要打开的备份文件。</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>显示此帮助并退出。</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
    <message>
        <source>Start playing at a recording time "YYYY-MM-DD HH:MM:SS" or at a number of seconds from the start.</source>
        <translation>从录像时间 "YYYY-MM-DD HH:MM:SS" 或从开头起的秒数开始播放。</translation>
    </message>
    <message>
        <source>Show 1, 4, 9 or 16 panes.</source>
        <translation>显示 1、4、9 或 16 个画面。</translation>
    </message>
    <message>
        <source>Show the video area full screen.</source>
        <translation>全屏显示视频区域。</translation>
    </message>
    <message>
        <source>Open without playing (the default without --start).</source>
        <translation>打开但不播放（不带 --start 时的默认行为）。</translation>
    </message>
    <message>
        <source>Start with the default settings and remember nothing this time.</source>
        <translation>以默认设置启动，本次不保存任何设置。</translation>
    </message>
    <message>
        <source>Try '%1 --help'.
</source>
        <translation>请尝试执行“%1 --help”。
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>示例：</translation>
    </message>
</context>
<context>
    <name>PlayerSettings</name>
    <message>
        <source>Recent Files</source>
        <translation>最近打开的文件</translation>
    </message>
    <message>
        <source>Reset settings</source>
        <translation>重置设置</translation>
    </message>
</context>
<context>
    <name>PlayerContextMenu</name>
    <message>
        <source>Time format</source>
        <translation>时间格式</translation>
    </message>
    <message>
        <source>Go to Time...</source>
        <translation>跳转到时间...</translation>
    </message>
    <message>
        <source>Export Clip...</source>
        <translation>导出片段...</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>保存快照</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
</context>
<context>
    <name>PlayerAccessibility</name>
    <message>
        <source>Play or pause</source>
        <translation>播放或暂停</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>倒退</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>快进</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>后退 59 秒</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>前进 59 秒</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>打开或关闭声音</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>最大化</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>1 pane</source>
        <translation>1 画面</translation>
    </message>
    <message>
        <source>4 panes</source>
        <translation>4 画面</translation>
    </message>
    <message>
        <source>9 panes</source>
        <translation>9 画面</translation>
    </message>
    <message>
        <source>16 panes</source>
        <translation>16 画面</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>播放位置</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>录像</translation>
    </message>
    <message>
        <source>Open storage folder</source>
        <translation>打开存储文件夹</translation>
    </message>
    <message>
        <source>Make channel files</source>
        <translation>生成通道文件</translation>
    </message>
    <message>
        <source>Combine files</source>
        <translation>合并文件</translation>
    </message>
    <message>
        <source>Recording time</source>
        <translation>录像时间</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Camera name</source>
        <translation>摄像机名称</translation>
    </message>
    <message>
        <source>Elapsed and total time</source>
        <translation>已播放时间和总时长</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>正在搜索</translation>
    </message>
    <message>
        <source>Ostravue player</source>
        <translation>Ostravue 播放器</translation>
    </message>
    <message>
        <source>Camera panes</source>
        <translation>摄像机画面</translation>
    </message>
</context>
<context>
    <name>PlayerApp</name>
    <message>
        <source>%1 was not opened: %2.

Choose a backup file (.ysk) with the Open button or Ctrl+O.</source>
        <translation>未打开 %1：%2。

请用“打开”按钮或 Ctrl+O 选择一个备份文件（.ysk）。</translation>
    </message>
    <message>
        <source>The start given with --start lies before the recording; it starts at its first second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>--start 指定的开始时间早于录像开始；改为从录像的第一秒开始。

请指定录像范围内的时间，或用进度滑块移动。</translation>
    </message>
    <message>
        <source>The start given with --start lies past the end of the recording, which runs %1 seconds; it starts at its last second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>--start 指定的开始时间晚于录像结束（录像时长 %1 秒）；改为从录像的最后一秒开始。

请指定录像范围内的时间，或用进度滑块移动。</translation>
    </message>
</context>
</TS>
