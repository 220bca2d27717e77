<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>Spielt die Sicherungsdatei file (.ysk) eines Videorekorders ab.</translation>
    </message>
    <message>
        <source>The backup file to open.</source>
        <translation>Die zu öffnende Sicherungsdatei.</translation>
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
        <source>Start playing at a recording time "YYYY-MM-DD HH:MM:SS" or at a number of seconds from the start.</source>
        <translation>Die Wiedergabe bei einer Aufnahmezeit "YYYY-MM-DD HH:MM:SS" oder eine Anzahl Sekunden nach dem Anfang beginnen.</translation>
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
        <source>Try '%1 --help'.
</source>
        <translation>Weitere Informationen mit „%1 --help“.
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Beispiele:</translation>
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
        <source>Ostravue player</source>
        <translation>Ostravue-Player</translation>
    </message>
    <message>
        <source>Camera panes</source>
        <translation>Kamerabilder</translation>
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
</TS>
