<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ActivityTimeline</name>
    <message>
        <source>No picture</source>
        <translation>无图像</translation>
    </message>
    <message>
        <source>all</source>
        <translation>全部</translation>
    </message>
    <message>
        <source> Analysing %1 % </source>
        <translation> 正在分析 %1% </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>播放 file，即视频录像机的备份文件（.ysk）。</translation>
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
        <source>Start playing at a recording time &quot;YYYY-MM-DD HH:MM:SS&quot; or at a number of seconds from the start.</source>
        <translation>从录像时间 &quot;YYYY-MM-DD HH:MM:SS&quot; 或从开头起的秒数开始播放。</translation>
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
        <source>Try &apos;%1 --help&apos;.
</source>
        <translation>请尝试执行“%1 --help”。
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>示例：</translation>
    </message>
    <message>
        <source>The backup file to open; several files play as one recording.</source>
        <translation>要打开的备份文件；多个文件作为一个录像播放。</translation>
    </message>
    <message>
        <source>Open the backup files of a folder (not its subfolders) as one recording.</source>
        <translation>将文件夹中的备份文件（不含子文件夹）作为一个录像打开。</translation>
    </message>
</context>
<context>
    <name>OpenProblem</name>
    <message>
        <source>The file was probably cut short while it was copied. Copy it from the recorder or the USB stick again.</source>
        <translation>文件很可能在复制时被截断。请从录像机或 U 盘重新复制。</translation>
    </message>
    <message>
        <source>Check that this is a backup file exported from the recorder; other files ending in .ysk cannot be played.</source>
        <translation>请确认这是从录像机导出的备份文件；其他以 .ysk 结尾的文件无法播放。</translation>
    </message>
    <message>
        <source>The backup is damaged at that place. Export it from the recorder again, or open another copy.</source>
        <translation>备份在该处已损坏。请从录像机重新导出，或打开另一份副本。</translation>
    </message>
    <message>
        <source>Check that the file is still there and that you may read it, then open it again.</source>
        <translation>请确认文件仍然存在且您有读取权限，然后重新打开。</translation>
    </message>
    <message>
        <source>Export the backup again with at least one camera channel selected.</source>
        <translation>请重新导出备份，并至少选择一个摄像机通道。</translation>
    </message>
    <message>
        <source>Export the time you need as shorter backups from the recorder.</source>
        <translation>请从录像机将所需时段分成较短的备份导出。</translation>
    </message>
    <message>
        <source>The file is %1 bytes long, no longer than the 2037-byte header every backup file begins with: it holds no recording.</source>
        <translation>文件长度为 %1 字节，不超过每个备份文件开头的 2037 字节文件头：其中没有录像。</translation>
    </message>
    <message>
        <source>The file was there a moment ago but could not be opened for reading.</source>
        <translation>文件刚才还在，但无法打开读取。</translation>
    </message>
    <message>
        <source>Byte 2 of the header gives layout %1, which keeps the header in the last 4096 bytes, but the file is only %2 bytes long.</source>
        <translation>文件头第 2 字节给出的布局为 %1，该布局的文件头位于最后 4096 字节中，但文件只有 %2 字节长。</translation>
    </message>
    <message>
        <source>Byte 2 of the header holds %1; backup files have layout 0, 1 or 2 there.</source>
        <translation>文件头第 2 字节的值为 %1；备份文件在此处的布局应为 0、1 或 2。</translation>
    </message>
    <message>
        <source>The header in the last 4096 bytes (at offset %1) gives layout %2; backup files have layout 0, 1 or 2 there.</source>
        <translation>最后 4096 字节中的文件头（偏移 %1）给出的布局为 %2；备份文件在此处的布局应为 0、1 或 2。</translation>
    </message>
    <message>
        <source>The header&apos;s record of video channel %1 marks itself damaged: its channel number (byte %2) is %3, where 0 to 15 is expected.</source>
        <translation>文件头中视频通道 %1 的记录标记为已损坏：其通道号（第 %2 字节）为 %3，应为 0 到 15。</translation>
    </message>
    <message>
        <source>The header gives %2 channels (byte %1); backup files have 1 to 16.</source>
        <translation>文件头给出的通道数为 %2（第 %1 字节）；备份文件应有 1 到 16 个通道。</translation>
    </message>
    <message>
        <source>The video mask of the header (bytes %1 to %2) is %3: it names none of the camera channels 1 to 16, so the file holds no video.</source>
        <translation>文件头的视频掩码（第 %1 至 %2 字节）为 %3：未指定摄像机通道 1 到 16 中的任何一个，因此文件中没有视频。</translation>
    </message>
    <message>
        <source>Channel %1: the frame header at byte %2 has type %3 before the channel&apos;s first key frame; frames have type 0 or 1.</source>
        <translation>通道 %1：在该通道第一个关键帧之前，第 %2 字节处的帧头类型为 %3；帧类型应为 0 或 1。</translation>
    </message>
    <message>
        <source>No video channel has a key frame near its start, so there is no picture to begin from.</source>
        <translation>所有视频通道在开头附近都没有关键帧，因此没有可以开始播放的画面。</translation>
    </message>
    <message>
        <source>No key frame was found near the end of any video channel, so the recording&apos;s length cannot be measured (the first key frame is channel %1&apos;s, at %2 ms).</source>
        <translation>所有视频通道的结尾附近都没有找到关键帧，因此无法测量录像时长（第一个关键帧属于通道 %1，位于 %2 毫秒）。</translation>
    </message>
    <message>
        <source>The last key frame (channel %3, at %4 ms) lies before the first one (channel %1, at %2 ms), so the recording&apos;s length cannot be measured.</source>
        <translation>最后一个关键帧（通道 %3，%4 毫秒）早于第一个关键帧（通道 %1，%2 毫秒），因此无法测量录像时长。</translation>
    </message>
    <message>
        <source>The recording runs %1 h %2 min, from channel %3&apos;s first key frame to channel %4&apos;s last; the player opens recordings shorter than 26 hours.</source>
        <translation>录像时长为 %1 小时 %2 分钟（从通道 %3 的第一个关键帧到通道 %4 的最后一个关键帧）；本播放器只能打开短于 26 小时的录像。</translation>
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
        <source>Starts or pauses playback. Keys: Space or K.</source>
        <translation>开始或暂停播放。按键：空格键或 K。</translation>
    </message>
    <message>
        <source>Plays backwards; each press the next speed. Key: [</source>
        <translation>倒放；每按一次切换到下一档速度。按键：[</translation>
    </message>
    <message>
        <source>Plays faster; each press the next speed. Key: ]</source>
        <translation>快速播放；每按一次切换到下一档速度。按键：]</translation>
    </message>
    <message>
        <source>Jumps 59 seconds backwards. Key: Down.</source>
        <translation>后退 59 秒。按键：下方向键。</translation>
    </message>
    <message>
        <source>Jumps 59 seconds forwards. Key: Up.</source>
        <translation>前进 59 秒。按键：上方向键。</translation>
    </message>
    <message>
        <source>Chooses a backup file to play. Key: Ctrl+O.</source>
        <translation>选择要播放的备份文件。按键：Ctrl+O。</translation>
    </message>
    <message>
        <source>Turns the sound off or on again. Key: M.</source>
        <translation>关闭声音或重新打开声音。按键：M。</translation>
    </message>
    <message>
        <source>Turns the sound on.</source>
        <translation>打开声音。</translation>
    </message>
    <message>
        <source>Makes the window as large as the screen.</source>
        <translation>将窗口放大到整个屏幕。</translation>
    </message>
    <message>
        <source>Hides the window in the task bar.</source>
        <translation>将窗口隐藏到任务栏。</translation>
    </message>
    <message>
        <source>Ends the program. Keys: Q or Ctrl+Q.</source>
        <translation>退出程序。按键：Q 或 Ctrl+Q。</translation>
    </message>
    <message>
        <source>Shows the selected camera alone. Key: 1.</source>
        <translation>只显示所选摄像机。按键：1。</translation>
    </message>
    <message>
        <source>Shows four cameras. Key: 2.</source>
        <translation>显示四个摄像机。按键：2。</translation>
    </message>
    <message>
        <source>Shows nine cameras. Key: 3.</source>
        <translation>显示九个摄像机。按键：3。</translation>
    </message>
    <message>
        <source>Shows sixteen cameras. Key: 4.</source>
        <translation>显示十六个摄像机。按键：4。</translation>
    </message>
    <message>
        <source>Sound volume, 0 to 15. Keys: 0 up, 9 down.</source>
        <translation>音量，0 到 15。按键：0 增大，9 减小。</translation>
    </message>
    <message>
        <source>The second of the recording being played. Keys: Left and Right 5 seconds, Home, End, Ctrl+G.</source>
        <translation>正在播放的录像秒数。按键：左、右方向键 5 秒，Home，End，Ctrl+G。</translation>
    </message>
    <message>
        <source>The path of the open backup file.</source>
        <translation>已打开备份文件的路径。</translation>
    </message>
    <message>
        <source>The recordings of a recorder storage folder.</source>
        <translation>录像机存储文件夹中的录像。</translation>
    </message>
    <message>
        <source>Opens a recorder storage folder.</source>
        <translation>打开录像机存储文件夹。</translation>
    </message>
    <message>
        <source>Builds channel files from the storage folder.</source>
        <translation>从存储文件夹生成通道文件。</translation>
    </message>
    <message>
        <source>Combines channel files.</source>
        <translation>合并通道文件。</translation>
    </message>
    <message>
        <source>Date and time of the second being played. Double click: full screen.</source>
        <translation>正在播放的那一秒的日期和时间。双击：全屏。</translation>
    </message>
    <message>
        <source>The rewind or fast-forward speed.</source>
        <translation>倒退或快进的速度。</translation>
    </message>
    <message>
        <source>The program&apos;s version.</source>
        <translation>程序的版本。</translation>
    </message>
    <message>
        <source>The name of the selected camera.</source>
        <translation>所选摄像机的名称。</translation>
    </message>
    <message>
        <source>Time played and the recording&apos;s length.</source>
        <translation>已播放时间和录像时长。</translation>
    </message>
    <message>
        <source>Shown while a position is looked for.</source>
        <translation>查找播放位置时显示。</translation>
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
    <message>
        <source>Activity Timeline</source>
        <translation>活动时间线</translation>
    </message>
    <message>
        <source>Next Event</source>
        <translation>下一个事件</translation>
    </message>
    <message>
        <source>Previous Event</source>
        <translation>上一个事件</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Whole Picture</source>
        <translation>完整画面</translation>
    </message>
    <message>
        <source>Picture Adjustments...</source>
        <translation>图像调整...</translation>
    </message>
    <message>
        <source>Deinterlace</source>
        <translation>去隔行</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Automatic (as the stream marks its pictures)</source>
        <translation>自动（按视频流对画面的标记）</translation>
    </message>
    <message>
        <source>Save View</source>
        <translation>保存视图</translation>
    </message>
    <message>
        <source>Open Case...</source>
        <translation>打开案件...</translation>
    </message>
</context>
<context>
    <name>PlayerDlg</name>
    <message>
        <source>View saved to %1</source>
        <translation>视图已保存到 %1</translation>
    </message>
    <message>
        <source>Snapshot saved to %1</source>
        <translation>快照已保存到 %1</translation>
    </message>
    <message>
        <source>View not saved: %1</source>
        <translation>视图未保存：%1</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>快照未保存：%1</translation>
    </message>
    <message>
        <source>the last one is still being saved</source>
        <translation>上一个仍在保存中</translation>
    </message>
    <message>
        <source>off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>on</source>
        <translation>开</translation>
    </message>
    <message>
        <source>automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Deinterlacing of CH %1: %2</source>
        <translation>CH %1 去隔行：%2</translation>
    </message>
    <message>
        <source>Play / Pause</source>
        <translation>播放 / 暂停</translation>
    </message>
    <message>
        <source>Rewind, next rewind speed</source>
        <translation>倒退，下一档倒退速度</translation>
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
        <source>Fast forward, next speed</source>
        <translation>快进，下一档速度</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>声音开 / 关</translation>
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
        <source>Open a file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Seek (Left / Right: 5 seconds, Home, End)</source>
        <translation>定位（左 / 右方向键：5 秒，Home，End）</translation>
    </message>
    <message>
        <source>Volume (0: up, 9: down)</source>
        <translation>音量（0：增大，9：减小）</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Go to Time</source>
        <translation>跳转到时间</translation>
    </message>
    <message>
        <source>Recording time (YYYY-MM-DD HH:MM:SS) or elapsed time (H:MM:SS):</source>
        <translation>录像时间（YYYY-MM-DD HH:MM:SS）或已播放时间（H:MM:SS）：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time of this recording. Type a time from %2 to %3, or an elapsed time such as 0:01:30.</source>
        <translation>“%1”不是此录像中的时间。请输入 %2 至 %3 之间的时间，或 0:01:30 这样的已播放时间。</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <source>Cannot start the build</source>
        <translation>无法开始生成</translation>
    </message>
    <message>
        <source>Building %1%</source>
        <translation>正在生成 %1%</translation>
    </message>
    <message>
        <source>No later event on any channel</source>
        <translation>所有通道都没有更晚的事件</translation>
    </message>
    <message>
        <source>No later event on CH %1</source>
        <translation>CH %1 没有更晚的事件</translation>
    </message>
    <message>
        <source>No earlier event on any channel</source>
        <translation>所有通道都没有更早的事件</translation>
    </message>
    <message>
        <source>No earlier event on CH %1</source>
        <translation>CH %1 没有更早的事件</translation>
    </message>
    <message>
        <source> yet (the analysis is at %1 %)</source>
        <translation>（分析尚未完成，进度 %1%）</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <source>Play / Pause</source>
        <translation>播放 / 暂停</translation>
    </message>
    <message>
        <source>5 seconds forward</source>
        <translation>前进 5 秒</translation>
    </message>
    <message>
        <source>5 seconds back</source>
        <translation>后退 5 秒</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>前进 59 秒</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>后退 59 秒</translation>
    </message>
    <message>
        <source>Next fast-forward speed</source>
        <translation>下一档快进速度</translation>
    </message>
    <message>
        <source>Next rewind speed</source>
        <translation>下一档倒退速度</translation>
    </message>
    <message>
        <source>Next picture of the selected channel (paused)</source>
        <translation>所选通道的下一帧（暂停时）</translation>
    </message>
    <message>
        <source>Previous picture of the selected channel (paused)</source>
        <translation>所选通道的上一帧（暂停时）</translation>
    </message>
    <message>
        <source>Go to a date and time or an elapsed time</source>
        <translation>跳转到某个日期时间或已播放时间</translation>
    </message>
    <message>
        <source>First second</source>
        <translation>第一秒</translation>
    </message>
    <message>
        <source>Last second</source>
        <translation>最后一秒</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>增大音量</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>减小音量</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>声音开 / 关</translation>
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
        <source>Full screen (also a double click on the date line)</source>
        <translation>全屏（也可双击日期行）</translation>
    </message>
    <message>
        <source>Zoom into the selected pane (also the wheel)</source>
        <translation>放大所选画面（也可用滚轮）</translation>
    </message>
    <message>
        <source>Zoom out of the selected pane</source>
        <translation>缩小所选画面</translation>
    </message>
    <message>
        <source>Whole picture in the selected pane</source>
        <translation>所选画面显示完整图像</translation>
    </message>
    <message>
        <source>Picture adjustments of the selected pane</source>
        <translation>所选画面的图像调整</translation>
    </message>
    <message>
        <source>Deinterlacing of the selected pane: off, on, automatic</source>
        <translation>所选画面的去隔行：关、开、自动</translation>
    </message>
    <message>
        <source>Save what the selected pane shows</source>
        <translation>保存所选画面当前显示的内容</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Next .ysk file of the folder</source>
        <translation>文件夹中的下一个 .ysk 文件</translation>
    </message>
    <message>
        <source>Previous .ysk file of the folder</source>
        <translation>文件夹中的上一个 .ysk 文件</translation>
    </message>
    <message>
        <source>Activity timeline shown / hidden</source>
        <translation>显示 / 隐藏活动时间线</translation>
    </message>
    <message>
        <source>Next event of the selected channel</source>
        <translation>所选通道的下一个事件</translation>
    </message>
    <message>
        <source>Previous event of the selected channel</source>
        <translation>所选通道的上一个事件</translation>
    </message>
    <message>
        <source>Next event of any channel</source>
        <translation>任意通道的下一个事件</translation>
    </message>
    <message>
        <source>Previous event of any channel</source>
        <translation>任意通道的上一个事件</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Save a snapshot</source>
        <translation>保存快照</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>退出全屏</translation>
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
    <name>ov::CExportClipDlg</name>
    <message>
        <source>Export Clip</source>
        <translation>导出片段</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>MP4 (sound as AAC)</source>
        <translation>MP4（声音为 AAC）</translation>
    </message>
    <message>
        <source>MKV (sound as recorded)</source>
        <translation>MKV（声音保持原样）</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>导出到</translation>
    </message>
    <message>
        <source>Tick at least one channel.</source>
        <translation>请至少勾选一个通道。</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>正在导出...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Cannot start the export: </source>
        <translation>无法开始导出：</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Wrote %1 clip(s) to %2</source>
        <translation>已将 %1 个片段写入 %2</translation>
    </message>
    <message>
        <source>; the source file changed while it was read (%1), see the report</source>
        <translation>；读取时源文件发生了变化（%1），请查看报告</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>正在取消...</translation>
    </message>
</context>
<context>
    <name>ov::COpenCaseDlg</name>
    <message>
        <source>%1 channel: %2</source>
        <translation>%1 个通道：%2</translation>
    </message>
    <message>
        <source>%1 channels: %2</source>
        <translation>%1 个通道：%2</translation>
    </message>
    <message>
        <source>Open Case</source>
        <translation>打开案件</translation>
    </message>
    <message>
        <source>Recordings in %1, by recorder and day:</source>
        <translation>%1 中的录像（按录像机和日期）：</translation>
    </message>
    <message>
        <source>Recorder / day</source>
        <translation>录像机 / 日期</translation>
    </message>
    <message>
        <source>From</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>To</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Recording sets</source>
        <translation>录像组</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>The catalog holds no recording that opens.</source>
        <translation>目录中没有可以打开的录像。</translation>
    </message>
</context>
<context>
    <name>ov::CPictureAdjustDlg</name>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽马</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>饱和度</translation>
    </message>
    <message>
        <source>Picture Adjustments: CH %1</source>
        <translation>图像调整：CH %1</translation>
    </message>
</context>
<context>
    <name>ov::CPlayerDlg</name>
    <message>
        <source>Open the backup files of a folder as one recording</source>
        <translation>将文件夹中的备份文件作为一个录像打开</translation>
    </message>
    <message>
        <source>None of the files given forms a recording.</source>
        <translation>给定的文件都不能构成录像。</translation>
    </message>
    <message>
        <source>The recording set was not opened: %1</source>
        <translation>录像组未打开：%1</translation>
    </message>
    <message>
        <source>Not part of the recording set:</source>
        <translation>不属于该录像组的文件：</translation>
    </message>
    <message numerus="yes">
        <source>%n files play as one recording (%1 ... %2)</source>
        <translation>
            <numerusform>%n 个文件作为一个录像播放（%1 ... %2）</numerusform>
        </translation>
    </message>
</context>
</TS>
