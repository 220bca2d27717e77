<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>Reproduce el archivo de copia de seguridad file (.ysk) de un grabador de vídeo.</translation>
    </message>
    <message>
        <source>The backup file to open.</source>
        <translation>El archivo de copia de seguridad que se abrirá.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Muestra esta ayuda y sale.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Muestra la versión y sale.</translation>
    </message>
    <message>
        <source>Start playing at a recording time "YYYY-MM-DD HH:MM:SS" or at a number of seconds from the start.</source>
        <translation>Empieza a reproducir en una hora de grabación "YYYY-MM-DD HH:MM:SS" o a un número de segundos desde el principio.</translation>
    </message>
    <message>
        <source>Show 1, 4, 9 or 16 panes.</source>
        <translation>Muestra 1, 4, 9 o 16 paneles.</translation>
    </message>
    <message>
        <source>Show the video area full screen.</source>
        <translation>Muestra el área de vídeo a pantalla completa.</translation>
    </message>
    <message>
        <source>Open without playing (the default without --start).</source>
        <translation>Abre sin reproducir (lo predeterminado sin --start).</translation>
    </message>
    <message>
        <source>Start with the default settings and remember nothing this time.</source>
        <translation>Empieza con la configuración predeterminada y esta vez no guarda nada.</translation>
    </message>
    <message>
        <source>Try '%1 --help'.
</source>
        <translation>Pruebe «%1 --help» para más información.
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Ejemplos:</translation>
    </message>
</context>
<context>
    <name>PlayerSettings</name>
    <message>
        <source>Recent Files</source>
        <translation>Archivos recientes</translation>
    </message>
    <message>
        <source>Reset settings</source>
        <translation>Restablecer la configuración</translation>
    </message>
</context>
<context>
    <name>PlayerContextMenu</name>
    <message>
        <source>Time format</source>
        <translation>Formato de hora</translation>
    </message>
    <message>
        <source>Go to Time...</source>
        <translation>Ir a la hora...</translation>
    </message>
    <message>
        <source>Export Clip...</source>
        <translation>Exportar clip...</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Guardar instantánea</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
</context>
<context>
    <name>PlayerAccessibility</name>
    <message>
        <source>Play or pause</source>
        <translation>Reproducir o pausar</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Rebobinar</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Avance rápido</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>59 segundos atrás</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>59 segundos adelante</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Abrir archivo</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>Activar o desactivar el sonido</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximizar</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>1 pane</source>
        <translation>1 panel</translation>
    </message>
    <message>
        <source>4 panes</source>
        <translation>4 paneles</translation>
    </message>
    <message>
        <source>9 panes</source>
        <translation>9 paneles</translation>
    </message>
    <message>
        <source>16 panes</source>
        <translation>16 paneles</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posición</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Grabación</translation>
    </message>
    <message>
        <source>Open storage folder</source>
        <translation>Abrir carpeta de almacenamiento</translation>
    </message>
    <message>
        <source>Make channel files</source>
        <translation>Crear archivos de canal</translation>
    </message>
    <message>
        <source>Combine files</source>
        <translation>Combinar archivos</translation>
    </message>
    <message>
        <source>Recording time</source>
        <translation>Hora de grabación</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Camera name</source>
        <translation>Nombre de la cámara</translation>
    </message>
    <message>
        <source>Elapsed and total time</source>
        <translation>Tiempo transcurrido y total</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Buscando</translation>
    </message>
    <message>
        <source>Ostravue player</source>
        <translation>Reproductor Ostravue</translation>
    </message>
    <message>
        <source>Camera panes</source>
        <translation>Paneles de cámara</translation>
    </message>
</context>
<context>
    <name>PlayerApp</name>
    <message>
        <source>%1 was not opened: %2.

Choose a backup file (.ysk) with the Open button or Ctrl+O.</source>
        <translation>%1 no se ha abierto: %2.

Elija un archivo de copia de seguridad (.ysk) con el botón Abrir o con Ctrl+O.</translation>
    </message>
    <message>
        <source>The start given with --start lies before the recording; it starts at its first second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>El inicio indicado con --start es anterior a la grabación; empieza en su primer segundo.

Indique una hora dentro de la grabación o muévase con el control deslizante de búsqueda.</translation>
    </message>
    <message>
        <source>The start given with --start lies past the end of the recording, which runs %1 seconds; it starts at its last second instead.

Give a time inside the recording, or move with the seek slider.</source>
        <translation>El inicio indicado con --start queda después del final de la grabación, que dura %1 segundos; empieza en su último segundo.

Indique una hora dentro de la grabación o muévase con el control deslizante de búsqueda.</translation>
    </message>
</context>
</TS>
