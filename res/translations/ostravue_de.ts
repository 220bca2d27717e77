<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>ActivityTimeline</name>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>all</source>
        <translation>alles</translation>
    </message>
    <message>
        <source> Analysing %1 % </source>
        <translation> Analyse bei %1 % </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>Spielt die Sicherungsdatei file (.ysk) eines Videorekorders ab.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Start playing at a recording time &quot;YYYY-MM-DD HH:MM:SS&quot; or at a number of seconds from the start.</source>
        <translation>Die Wiedergabe bei einer Aufnahmezeit &quot;YYYY-MM-DD HH:MM:SS&quot; oder eine Anzahl Sekunden nach dem Anfang beginnen.</translation>
    </message>
    <message>
        <source>Show 1, 4, 9 or 16 panes.</source>
        <translation>1, 4, 9 oder 16 Bildfelder zeigen.</translation>
    </message>
    <message>
        <source>Show the video area full screen.</source>
        <translation>Den Videobereich im Vollbild zeigen.</translation>
    </message>
    <message>
        <source>Open without playing (the default without --start).</source>
        <translation>Öffnen, ohne abzuspielen (ohne --start die Voreinstellung).</translation>
    </message>
    <message>
        <source>Start with the default settings and remember nothing this time.</source>
        <translation>Mit den Standardeinstellungen starten und diesmal nichts speichern.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.
</source>
        <translation>Weitere Informationen mit „%1 --help“.
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Beispiele:</translation>
    </message>
    <message>
        <source>The backup file to open; several files play as one recording.</source>
        <translation>Die zu öffnende Sicherungsdatei; mehrere Dateien werden als eine Aufnahme abgespielt.</translation>
    </message>
    <message>
        <source>Open the backup files of a folder (not its subfolders) as one recording.</source>
        <translation>Die Sicherungsdateien eines Ordners (ohne seine Unterordner) als eine Aufnahme öffnen.</translation>
    </message>
</context>
<context>
    <name>OpenProblem</name>
    <message>
        <source>The file was probably cut short while it was copied. Copy it from the recorder or the USB stick again.</source>
        <translation>Die Datei wurde wahrscheinlich beim Kopieren abgeschnitten. Kopieren Sie sie erneut vom Rekorder oder vom USB-Stick.</translation>
    </message>
    <message>
        <source>Check that this is a backup file exported from the recorder; other files ending in .ysk cannot be played.</source>
        <translation>Prüfen Sie, ob dies eine vom Rekorder exportierte Sicherungsdatei ist; andere Dateien mit der Endung .ysk lassen sich nicht abspielen.</translation>
    </message>
    <message>
        <source>The backup is damaged at that place. Export it from the recorder again, or open another copy.</source>
        <translation>Die Sicherung ist an dieser Stelle beschädigt. Exportieren Sie sie erneut vom Rekorder oder öffnen Sie eine andere Kopie.</translation>
    </message>
    <message>
        <source>Check that the file is still there and that you may read it, then open it again.</source>
        <translation>Prüfen Sie, ob die Datei noch vorhanden ist und Sie sie lesen dürfen, und öffnen Sie sie dann erneut.</translation>
    </message>
    <message>
        <source>Export the backup again with at least one camera channel selected.</source>
        <translation>Exportieren Sie die Sicherung erneut und wählen Sie dabei mindestens einen Kamerakanal aus.</translation>
    </message>
    <message>
        <source>Export the time you need as shorter backups from the recorder.</source>
        <translation>Exportieren Sie den benötigten Zeitraum vom Rekorder in kürzeren Sicherungen.</translation>
    </message>
    <message>
        <source>The file is %1 bytes long, no longer than the 2037-byte header every backup file begins with: it holds no recording.</source>
        <translation>Die Datei ist %1 Byte lang, nicht länger als der 2037 Byte lange Kopf, mit dem jede Sicherungsdatei beginnt: Sie enthält keine Aufnahme.</translation>
    </message>
    <message>
        <source>The file was there a moment ago but could not be opened for reading.</source>
        <translation>Die Datei war eben noch vorhanden, ließ sich aber nicht zum Lesen öffnen.</translation>
    </message>
    <message>
        <source>Byte 2 of the header gives layout %1, which keeps the header in the last 4096 bytes, but the file is only %2 bytes long.</source>
        <translation>Byte 2 des Kopfes nennt das Layout %1, bei dem der Kopf in den letzten 4096 Byte liegt, doch die Datei ist nur %2 Byte lang.</translation>
    </message>
    <message>
        <source>Byte 2 of the header holds %1; backup files have layout 0, 1 or 2 there.</source>
        <translation>Byte 2 des Kopfes enthält %1; Sicherungsdateien haben dort das Layout 0, 1 oder 2.</translation>
    </message>
    <message>
        <source>The header in the last 4096 bytes (at offset %1) gives layout %2; backup files have layout 0, 1 or 2 there.</source>
        <translation>Der Kopf in den letzten 4096 Byte (ab Offset %1) nennt das Layout %2; Sicherungsdateien haben dort das Layout 0, 1 oder 2.</translation>
    </message>
    <message>
        <source>The header&apos;s record of video channel %1 marks itself damaged: its channel number (byte %2) is %3, where 0 to 15 is expected.</source>
        <translation>Der Eintrag des Videokanals %1 im Kopf ist als beschädigt markiert: Seine Kanalnummer (Byte %2) ist %3, erwartet wird 0 bis 15.</translation>
    </message>
    <message>
        <source>The header gives %2 channels (byte %1); backup files have 1 to 16.</source>
        <translation>Der Kopf nennt %2 Kanäle (Byte %1); Sicherungsdateien haben 1 bis 16.</translation>
    </message>
    <message>
        <source>The video mask of the header (bytes %1 to %2) is %3: it names none of the camera channels 1 to 16, so the file holds no video.</source>
        <translation>Die Videomaske des Kopfes (Byte %1 bis %2) ist %3: Sie nennt keinen der Kamerakanäle 1 bis 16, die Datei enthält also kein Video.</translation>
    </message>
    <message>
        <source>Channel %1: the frame header at byte %2 has type %3 before the channel&apos;s first key frame; frames have type 0 or 1.</source>
        <translation>Kanal %1: Der Bildkopf bei Byte %2 hat vor dem ersten Schlüsselbild des Kanals den Typ %3; Bilder haben den Typ 0 oder 1.</translation>
    </message>
    <message>
        <source>No video channel has a key frame near its start, so there is no picture to begin from.</source>
        <translation>Kein Videokanal hat nahe seinem Anfang ein Schlüsselbild, es gibt also kein Bild, mit dem die Wiedergabe beginnen kann.</translation>
    </message>
    <message>
        <source>No key frame was found near the end of any video channel, so the recording&apos;s length cannot be measured (the first key frame is channel %1&apos;s, at %2 ms).</source>
        <translation>Nahe dem Ende keines Videokanals wurde ein Schlüsselbild gefunden, daher lässt sich die Länge der Aufnahme nicht bestimmen (das erste Schlüsselbild ist das von Kanal %1, bei %2 ms).</translation>
    </message>
    <message>
        <source>The last key frame (channel %3, at %4 ms) lies before the first one (channel %1, at %2 ms), so the recording&apos;s length cannot be measured.</source>
        <translation>Das letzte Schlüsselbild (Kanal %3, bei %4 ms) liegt vor dem ersten (Kanal %1, bei %2 ms), daher lässt sich die Länge der Aufnahme nicht bestimmen.</translation>
    </message>
    <message>
        <source>The recording runs %1 h %2 min, from channel %3&apos;s first key frame to channel %4&apos;s last; the player opens recordings shorter than 26 hours.</source>
        <translation>Die Aufnahme dauert %1 h %2 min, vom ersten Schlüsselbild von Kanal %3 bis zum letzten von Kanal %4; der Player öffnet Aufnahmen, die kürzer als 26 Stunden sind.</translation>
    </message>
</context>
<context>
    <name>PlayerAccessibility</name>
    <message>
        <source>Play or pause</source>
        <translation>Wiedergabe oder Pause</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Rücklauf</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Schnellvorlauf</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>59 Sekunden zurück</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>59 Sekunden vor</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>Ton ein oder aus</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>1 pane</source>
        <translation>1 Bildfeld</translation>
    </message>
    <message>
        <source>4 panes</source>
        <translation>4 Bildfelder</translation>
    </message>
    <message>
        <source>9 panes</source>
        <translation>9 Bildfelder</translation>
    </message>
    <message>
        <source>16 panes</source>
        <translation>16 Bildfelder</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Open storage folder</source>
        <translation>Speicherordner öffnen</translation>
    </message>
    <message>
        <source>Make channel files</source>
        <translation>Kanaldateien erstellen</translation>
    </message>
    <message>
        <source>Combine files</source>
        <translation>Dateien zusammenführen</translation>
    </message>
    <message>
        <source>Recording time</source>
        <translation>Aufnahmezeit</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Camera name</source>
        <translation>Kameraname</translation>
    </message>
    <message>
        <source>Elapsed and total time</source>
        <translation>Verstrichene Zeit und Gesamtdauer</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>Starts or pauses playback. Keys: Space or K.</source>
        <translation>Startet oder unterbricht die Wiedergabe. Tasten: Leertaste oder K.</translation>
    </message>
    <message>
        <source>Plays backwards; each press the next speed. Key: [</source>
        <translation>Spielt rückwärts ab; jeder Druck wählt die nächste Geschwindigkeit. Taste: [</translation>
    </message>
    <message>
        <source>Plays faster; each press the next speed. Key: ]</source>
        <translation>Spielt schneller ab; jeder Druck wählt die nächste Geschwindigkeit. Taste: ]</translation>
    </message>
    <message>
        <source>Jumps 59 seconds backwards. Key: Down.</source>
        <translation>Springt 59 Sekunden zurück. Taste: Pfeil nach unten.</translation>
    </message>
    <message>
        <source>Jumps 59 seconds forwards. Key: Up.</source>
        <translation>Springt 59 Sekunden vor. Taste: Pfeil nach oben.</translation>
    </message>
    <message>
        <source>Chooses a backup file to play. Key: Ctrl+O.</source>
        <translation>Wählt eine Sicherungsdatei zum Abspielen. Taste: Strg+O.</translation>
    </message>
    <message>
        <source>Turns the sound off or on again. Key: M.</source>
        <translation>Schaltet den Ton aus oder wieder ein. Taste: M.</translation>
    </message>
    <message>
        <source>Turns the sound on.</source>
        <translation>Schaltet den Ton ein.</translation>
    </message>
    <message>
        <source>Makes the window as large as the screen.</source>
        <translation>Vergrößert das Fenster auf die Größe des Bildschirms.</translation>
    </message>
    <message>
        <source>Hides the window in the task bar.</source>
        <translation>Legt das Fenster in der Taskleiste ab.</translation>
    </message>
    <message>
        <source>Ends the program. Keys: Q or Ctrl+Q.</source>
        <translation>Beendet das Programm. Tasten: Q oder Strg+Q.</translation>
    </message>
    <message>
        <source>Shows the selected camera alone. Key: 1.</source>
        <translation>Zeigt nur die ausgewählte Kamera. Taste: 1.</translation>
    </message>
    <message>
        <source>Shows four cameras. Key: 2.</source>
        <translation>Zeigt vier Kameras. Taste: 2.</translation>
    </message>
    <message>
        <source>Shows nine cameras. Key: 3.</source>
        <translation>Zeigt neun Kameras. Taste: 3.</translation>
    </message>
    <message>
        <source>Shows sixteen cameras. Key: 4.</source>
        <translation>Zeigt sechzehn Kameras. Taste: 4.</translation>
    </message>
    <message>
        <source>Sound volume, 0 to 15. Keys: 0 up, 9 down.</source>
        <translation>Lautstärke, 0 bis 15. Tasten: 0 lauter, 9 leiser.</translation>
    </message>
    <message>
        <source>The second of the recording being played. Keys: Left and Right 5 seconds, Home, End, Ctrl+G.</source>
        <translation>Die gerade abgespielte Sekunde der Aufnahme. Tasten: Pfeil links und rechts 5 Sekunden, Pos1, Ende, Strg+G.</translation>
    </message>
    <message>
        <source>The path of the open backup file.</source>
        <translation>Der Pfad der geöffneten Sicherungsdatei.</translation>
    </message>
    <message>
        <source>The recordings of a recorder storage folder.</source>
        <translation>Die Aufnahmen eines Rekorder-Speicherordners.</translation>
    </message>
    <message>
        <source>Opens a recorder storage folder.</source>
        <translation>Öffnet einen Rekorder-Speicherordner.</translation>
    </message>
    <message>
        <source>Builds channel files from the storage folder.</source>
        <translation>Erstellt Kanaldateien aus dem Speicherordner.</translation>
    </message>
    <message>
        <source>Combines channel files.</source>
        <translation>Führt Kanaldateien zusammen.</translation>
    </message>
    <message>
        <source>Date and time of the second being played. Double click: full screen.</source>
        <translation>Datum und Uhrzeit der gerade abgespielten Sekunde. Doppelklick: Vollbild.</translation>
    </message>
    <message>
        <source>The rewind or fast-forward speed.</source>
        <translation>Die Geschwindigkeit des Rück- oder Schnellvorlaufs.</translation>
    </message>
    <message>
        <source>The program&apos;s version.</source>
        <translation>Die Version des Programms.</translation>
    </message>
    <message>
        <source>The name of the selected camera.</source>
        <translation>Der Name der ausgewählten Kamera.</translation>
    </message>
    <message>
        <source>Time played and the recording&apos;s length.</source>
        <translation>Abgespielte Zeit und Länge der Aufnahme.</translation>
    </message>
    <message>
        <source>Shown while a position is looked for.</source>
        <translation>Wird angezeigt, während eine Position gesucht wird.</translation>
    </message>
</context>
<context>
    <name>PlayerApp</name>
    <message>
        <source>%1 was not opened: %2.

Choose a backup file (.ysk) with the Open button or Ctrl+O.</source>
        <translation>%1 wurde nicht geöffnet: %2.

Wählen Sie mit der Schaltfläche Öffnen oder mit Strg+O eine Sicherungsdatei (.ysk).</translation>
    </message>
    <message>
        <source>The start given with --start lies before the recording; it starts at its first second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>Der mit --start angegebene Beginn liegt vor der Aufnahme; sie beginnt stattdessen bei ihrer ersten Sekunde.

Geben Sie eine Zeit innerhalb der Aufnahme an oder springen Sie mit dem Suchregler.</translation>
    </message>
    <message>
        <source>The start given with --start lies past the end of the recording, which runs %1 seconds; it starts at its last second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>Der mit --start angegebene Beginn liegt hinter dem Ende der Aufnahme, die %1 Sekunden dauert; sie beginnt stattdessen bei ihrer letzten Sekunde.

Geben Sie eine Zeit innerhalb der Aufnahme an oder springen Sie mit dem Suchregler.</translation>
    </message>
</context>
<context>
    <name>PlayerContextMenu</name>
    <message>
        <source>Time format</source>
        <translation>Zeitformat</translation>
    </message>
    <message>
        <source>Go to Time...</source>
        <translation>Zu Zeitpunkt springen...</translation>
    </message>
    <message>
        <source>Export Clip...</source>
        <translation>Clip exportieren...</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Standbild speichern</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Activity Timeline</source>
        <translation>Aktivitätszeitleiste</translation>
    </message>
    <message>
        <source>Next Event</source>
        <translation>Nächstes Ereignis</translation>
    </message>
    <message>
        <source>Previous Event</source>
        <translation>Vorheriges Ereignis</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Whole Picture</source>
        <translation>Ganzes Bild</translation>
    </message>
    <message>
        <source>Picture Adjustments...</source>
        <translation>Bildeinstellungen...</translation>
    </message>
    <message>
        <source>Deinterlace</source>
        <translation>Deinterlacing</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Automatic (as the stream marks its pictures)</source>
        <translation>Automatisch (wie der Datenstrom seine Bilder kennzeichnet)</translation>
    </message>
    <message>
        <source>Save View</source>
        <translation>Ansicht speichern</translation>
    </message>
    <message>
        <source>Open Case...</source>
        <translation>Fall öffnen...</translation>
    </message>
</context>
<context>
    <name>PlayerDlg</name>
    <message>
        <source>View saved to %1</source>
        <translation>Ansicht gespeichert unter %1</translation>
    </message>
    <message>
        <source>Snapshot saved to %1</source>
        <translation>Standbild gespeichert unter %1</translation>
    </message>
    <message>
        <source>View not saved: %1</source>
        <translation>Ansicht nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Standbild nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>the last one is still being saved</source>
        <translation>das vorige wird noch gespeichert</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>automatic</source>
        <translation>automatisch</translation>
    </message>
    <message>
        <source>Deinterlacing of CH %1: %2</source>
        <translation>Deinterlacing von CH %1: %2</translation>
    </message>
    <message>
        <source>Play / Pause</source>
        <translation>Wiedergabe / Pause</translation>
    </message>
    <message>
        <source>Rewind, next rewind speed</source>
        <translation>Rücklauf, nächste Rücklaufgeschwindigkeit</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>59 Sekunden zurück</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>59 Sekunden vor</translation>
    </message>
    <message>
        <source>Fast forward, next speed</source>
        <translation>Schnellvorlauf, nächste Geschwindigkeit</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>Ton ein / aus</translation>
    </message>
    <message>
        <source>1 pane</source>
        <translation>1 Bildfeld</translation>
    </message>
    <message>
        <source>4 panes</source>
        <translation>4 Bildfelder</translation>
    </message>
    <message>
        <source>9 panes</source>
        <translation>9 Bildfelder</translation>
    </message>
    <message>
        <source>16 panes</source>
        <translation>16 Bildfelder</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Seek (Left / Right: 5 seconds, Home, End)</source>
        <translation>Springen (Pfeil links / rechts: 5 Sekunden, Pos1, Ende)</translation>
    </message>
    <message>
        <source>Volume (0: up, 9: down)</source>
        <translation>Lautstärke (0: lauter, 9: leiser)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Go to Time</source>
        <translation>Zu Zeitpunkt springen</translation>
    </message>
    <message>
        <source>Recording time (YYYY-MM-DD HH:MM:SS) or elapsed time (H:MM:SS):</source>
        <translation>Aufnahmezeit (JJJJ-MM-TT HH:MM:SS) oder verstrichene Zeit (H:MM:SS):</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time of this recording. Type a time from %2 to %3, or an elapsed time such as 0:01:30.</source>
        <translation>„%1“ ist kein Zeitpunkt dieser Aufnahme. Geben Sie eine Zeit von %2 bis %3 ein oder eine verstrichene Zeit wie 0:01:30.</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Cannot start the build</source>
        <translation>Erstellung kann nicht starten</translation>
    </message>
    <message>
        <source>Building %1%</source>
        <translation>Erstelle %1 %</translation>
    </message>
    <message>
        <source>No later event on any channel</source>
        <translation>Kein späteres Ereignis auf irgendeinem Kanal</translation>
    </message>
    <message>
        <source>No later event on CH %1</source>
        <translation>Kein späteres Ereignis auf CH %1</translation>
    </message>
    <message>
        <source>No earlier event on any channel</source>
        <translation>Kein früheres Ereignis auf irgendeinem Kanal</translation>
    </message>
    <message>
        <source>No earlier event on CH %1</source>
        <translation>Kein früheres Ereignis auf CH %1</translation>
    </message>
    <message>
        <source> yet (the analysis is at %1 %)</source>
        <translation> (bisher; die Analyse steht bei %1 %)</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <source>Play / Pause</source>
        <translation>Wiedergabe / Pause</translation>
    </message>
    <message>
        <source>5 seconds forward</source>
        <translation>5 Sekunden vor</translation>
    </message>
    <message>
        <source>5 seconds back</source>
        <translation>5 Sekunden zurück</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>59 Sekunden vor</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>59 Sekunden zurück</translation>
    </message>
    <message>
        <source>Next fast-forward speed</source>
        <translation>Nächste Schnellvorlaufgeschwindigkeit</translation>
    </message>
    <message>
        <source>Next rewind speed</source>
        <translation>Nächste Rücklaufgeschwindigkeit</translation>
    </message>
    <message>
        <source>Next picture of the selected channel (paused)</source>
        <translation>Nächstes Bild des ausgewählten Kanals (bei Pause)</translation>
    </message>
    <message>
        <source>Previous picture of the selected channel (paused)</source>
        <translation>Vorheriges Bild des ausgewählten Kanals (bei Pause)</translation>
    </message>
    <message>
        <source>Go to a date and time or an elapsed time</source>
        <translation>Zu einem Datum und einer Uhrzeit oder einer verstrichenen Zeit springen</translation>
    </message>
    <message>
        <source>First second</source>
        <translation>Erste Sekunde</translation>
    </message>
    <message>
        <source>Last second</source>
        <translation>Letzte Sekunde</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>Ton ein / aus</translation>
    </message>
    <message>
        <source>1 pane</source>
        <translation>1 Bildfeld</translation>
    </message>
    <message>
        <source>4 panes</source>
        <translation>4 Bildfelder</translation>
    </message>
    <message>
        <source>9 panes</source>
        <translation>9 Bildfelder</translation>
    </message>
    <message>
        <source>16 panes</source>
        <translation>16 Bildfelder</translation>
    </message>
    <message>
        <source>Full screen (also a double click on the date line)</source>
        <translation>Vollbild (auch ein Doppelklick auf die Datumszeile)</translation>
    </message>
    <message>
        <source>Zoom into the selected pane (also the wheel)</source>
        <translation>Ins ausgewählte Bildfeld hineinzoomen (auch mit dem Mausrad)</translation>
    </message>
    <message>
        <source>Zoom out of the selected pane</source>
        <translation>Aus dem ausgewählten Bildfeld herauszoomen</translation>
    </message>
    <message>
        <source>Whole picture in the selected pane</source>
        <translation>Ganzes Bild im ausgewählten Bildfeld</translation>
    </message>
    <message>
        <source>Picture adjustments of the selected pane</source>
        <translation>Bildeinstellungen des ausgewählten Bildfelds</translation>
    </message>
    <message>
        <source>Deinterlacing of the selected pane: off, on, automatic</source>
        <translation>Deinterlacing des ausgewählten Bildfelds: aus, ein, automatisch</translation>
    </message>
    <message>
        <source>Save what the selected pane shows</source>
        <translation>Speichern, was das ausgewählte Bildfeld zeigt</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Next .ysk file of the folder</source>
        <translation>Nächste .ysk-Datei des Ordners</translation>
    </message>
    <message>
        <source>Previous .ysk file of the folder</source>
        <translation>Vorherige .ysk-Datei des Ordners</translation>
    </message>
    <message>
        <source>Activity timeline shown / hidden</source>
        <translation>Aktivitätszeitleiste ein- / ausblenden</translation>
    </message>
    <message>
        <source>Next event of the selected channel</source>
        <translation>Nächstes Ereignis des ausgewählten Kanals</translation>
    </message>
    <message>
        <source>Previous event of the selected channel</source>
        <translation>Vorheriges Ereignis des ausgewählten Kanals</translation>
    </message>
    <message>
        <source>Next event of any channel</source>
        <translation>Nächstes Ereignis eines beliebigen Kanals</translation>
    </message>
    <message>
        <source>Previous event of any channel</source>
        <translation>Vorheriges Ereignis eines beliebigen Kanals</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Save a snapshot</source>
        <translation>Standbild speichern</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Vollbild verlassen</translation>
    </message>
</context>
<context>
    <name>PlayerSettings</name>
    <message>
        <source>Recent Files</source>
        <translation>Zuletzt geöffnete Dateien</translation>
    </message>
    <message>
        <source>Reset settings</source>
        <translation>Einstellungen zurücksetzen</translation>
    </message>
</context>
<context>
    <name>ov::CExportClipDlg</name>
    <message>
        <source>Export Clip</source>
        <translation>Clip exportieren</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>MP4 (sound as AAC)</source>
        <translation>MP4 (Ton als AAC)</translation>
    </message>
    <message>
        <source>MKV (sound as recorded)</source>
        <translation>MKV (Ton wie aufgenommen)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>Exportieren nach</translation>
    </message>
    <message>
        <source>Tick at least one channel.</source>
        <translation>Kreuzen Sie mindestens einen Kanal an.</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Wird exportiert...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot start the export: </source>
        <translation>Der Export kann nicht starten: </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Wrote %1 clip(s) to %2</source>
        <translation>%1 Clip(s) nach %2 geschrieben</translation>
    </message>
    <message>
        <source>; the source file changed while it was read (%1), see the report</source>
        <translation>; die Quelldatei hat sich beim Lesen geändert (%1), siehe Bericht</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
</context>
<context>
    <name>ov::COpenCaseDlg</name>
    <message>
        <source>%1 channel: %2</source>
        <translation>%1 Kanal: %2</translation>
    </message>
    <message>
        <source>%1 channels: %2</source>
        <translation>%1 Kanäle: %2</translation>
    </message>
    <message>
        <source>Open Case</source>
        <translation>Fall öffnen</translation>
    </message>
    <message>
        <source>Recordings in %1, by recorder and day:</source>
        <translation>Aufnahmen in %1, nach Rekorder und Tag:</translation>
    </message>
    <message>
        <source>Recorder / day</source>
        <translation>Rekorder / Tag</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Recording sets</source>
        <translation>Aufnahmegruppen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>The catalog holds no recording that opens.</source>
        <translation>Der Katalog enthält keine Aufnahme, die sich öffnen lässt.</translation>
    </message>
</context>
<context>
    <name>ov::CPictureAdjustDlg</name>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Picture Adjustments: CH %1</source>
        <translation>Bildeinstellungen: CH %1</translation>
    </message>
</context>
<context>
    <name>ov::CPlayerDlg</name>
    <message>
        <source>Open the backup files of a folder as one recording</source>
        <translation>Die Sicherungsdateien eines Ordners als eine Aufnahme öffnen</translation>
    </message>
    <message>
        <source>None of the files given forms a recording.</source>
        <translation>Keine der angegebenen Dateien ergibt eine Aufnahme.</translation>
    </message>
    <message>
        <source>The recording set was not opened: %1</source>
        <translation>Die Aufnahmegruppe wurde nicht geöffnet: %1</translation>
    </message>
    <message>
        <source>Not part of the recording set:</source>
        <translation>Nicht Teil der Aufnahmegruppe:</translation>
    </message>
    <message numerus="yes">
        <source>%n files play as one recording (%1 ... %2)</source>
        <translation>
            <numerusform>%n Datei wird als eine Aufnahme abgespielt (%1 ... %2)</numerusform>
            <numerusform>%n Dateien werden als eine Aufnahme abgespielt (%1 ... %2)</numerusform>
        </translation>
    </message>
</context>
</TS>
