<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>ActivityTimeline</name>
    <message>
        <source>No picture</source>
        <translation>Sin imagen</translation>
    </message>
    <message>
        <source>all</source>
        <translation>todo</translation>
    </message>
    <message>
        <source> Analysing %1 % </source>
        <translation> Analizando: %1 % </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Plays file, a backup (.ysk) of a video recorder.</source>
        <translation>Reproduce el archivo de copia de seguridad file (.ysk) de un grabador de vídeo.</translation>
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
        <source>Start playing at a recording time &quot;YYYY-MM-DD HH:MM:SS&quot; or at a number of seconds from the start.</source>
        <translation>Empieza a reproducir en una hora de grabación &quot;YYYY-MM-DD HH:MM:SS&quot; o a un número de segundos desde el principio.</translation>
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
        <source>Try &apos;%1 --help&apos;.
</source>
        <translation>Pruebe «%1 --help» para más información.
</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Ejemplos:</translation>
    </message>
    <message>
        <source>The backup file to open; several files play as one recording.</source>
        <translation>El archivo de copia de seguridad que se abrirá; varios archivos se reproducen como una sola grabación.</translation>
    </message>
    <message>
        <source>Open the backup files of a folder (not its subfolders) as one recording.</source>
        <translation>Abre los archivos de copia de seguridad de una carpeta (sin sus subcarpetas) como una sola grabación.</translation>
    </message>
</context>
<context>
    <name>OpenProblem</name>
    <message>
        <source>The file was probably cut short while it was copied. Copy it from the recorder or the USB stick again.</source>
        <translation>Probablemente el archivo se cortó al copiarlo. Cópielo de nuevo desde el grabador o la memoria USB.</translation>
    </message>
    <message>
        <source>Check that this is a backup file exported from the recorder; other files ending in .ysk cannot be played.</source>
        <translation>Compruebe que se trata de un archivo de copia de seguridad exportado desde el grabador; otros archivos terminados en .ysk no se pueden reproducir.</translation>
    </message>
    <message>
        <source>The backup is damaged at that place. Export it from the recorder again, or open another copy.</source>
        <translation>La copia de seguridad está dañada en ese punto. Expórtela de nuevo desde el grabador o abra otra copia.</translation>
    </message>
    <message>
        <source>Check that the file is still there and that you may read it, then open it again.</source>
        <translation>Compruebe que el archivo sigue ahí y que tiene permiso para leerlo, y vuelva a abrirlo.</translation>
    </message>
    <message>
        <source>Export the backup again with at least one camera channel selected.</source>
        <translation>Exporte de nuevo la copia de seguridad con al menos un canal de cámara seleccionado.</translation>
    </message>
    <message>
        <source>Export the time you need as shorter backups from the recorder.</source>
        <translation>Exporte desde el grabador el periodo que necesita en copias de seguridad más cortas.</translation>
    </message>
    <message>
        <source>The file is %1 bytes long, no longer than the 2037-byte header every backup file begins with: it holds no recording.</source>
        <translation>El archivo mide %1 bytes, no más que la cabecera de 2037 bytes con la que empieza todo archivo de copia de seguridad: no contiene ninguna grabación.</translation>
    </message>
    <message>
        <source>The file was there a moment ago but could not be opened for reading.</source>
        <translation>El archivo existía hace un momento, pero no se pudo abrir para leerlo.</translation>
    </message>
    <message>
        <source>Byte 2 of the header gives layout %1, which keeps the header in the last 4096 bytes, but the file is only %2 bytes long.</source>
        <translation>El byte 2 de la cabecera indica la disposición %1, que guarda la cabecera en los últimos 4096 bytes, pero el archivo solo mide %2 bytes.</translation>
    </message>
    <message>
        <source>Byte 2 of the header holds %1; backup files have layout 0, 1 or 2 there.</source>
        <translation>El byte 2 de la cabecera contiene %1; los archivos de copia de seguridad tienen ahí la disposición 0, 1 o 2.</translation>
    </message>
    <message>
        <source>The header in the last 4096 bytes (at offset %1) gives layout %2; backup files have layout 0, 1 or 2 there.</source>
        <translation>La cabecera de los últimos 4096 bytes (en el desplazamiento %1) indica la disposición %2; los archivos de copia de seguridad tienen ahí la disposición 0, 1 o 2.</translation>
    </message>
    <message>
        <source>The header&apos;s record of video channel %1 marks itself damaged: its channel number (byte %2) is %3, where 0 to 15 is expected.</source>
        <translation>El registro del canal de vídeo %1 en la cabecera está marcado como dañado: su número de canal (byte %2) es %3, cuando se espera de 0 a 15.</translation>
    </message>
    <message>
        <source>The header gives %2 channels (byte %1); backup files have 1 to 16.</source>
        <translation>La cabecera indica %2 canales (byte %1); los archivos de copia de seguridad tienen de 1 a 16.</translation>
    </message>
    <message>
        <source>The video mask of the header (bytes %1 to %2) is %3: it names none of the camera channels 1 to 16, so the file holds no video.</source>
        <translation>La máscara de vídeo de la cabecera (bytes %1 a %2) es %3: no indica ninguno de los canales de cámara 1 a 16, así que el archivo no contiene vídeo.</translation>
    </message>
    <message>
        <source>Channel %1: the frame header at byte %2 has type %3 before the channel&apos;s first key frame; frames have type 0 or 1.</source>
        <translation>Canal %1: la cabecera de fotograma en el byte %2 tiene el tipo %3 antes del primer fotograma clave del canal; los fotogramas tienen el tipo 0 o 1.</translation>
    </message>
    <message>
        <source>No video channel has a key frame near its start, so there is no picture to begin from.</source>
        <translation>Ningún canal de vídeo tiene un fotograma clave cerca de su inicio, así que no hay ninguna imagen desde la que empezar.</translation>
    </message>
    <message>
        <source>No key frame was found near the end of any video channel, so the recording&apos;s length cannot be measured (the first key frame is channel %1&apos;s, at %2 ms).</source>
        <translation>No se encontró ningún fotograma clave cerca del final de ningún canal de vídeo, así que no se puede medir la duración de la grabación (el primer fotograma clave es el del canal %1, a %2 ms).</translation>
    </message>
    <message>
        <source>The last key frame (channel %3, at %4 ms) lies before the first one (channel %1, at %2 ms), so the recording&apos;s length cannot be measured.</source>
        <translation>El último fotograma clave (canal %3, a %4 ms) es anterior al primero (canal %1, a %2 ms), así que no se puede medir la duración de la grabación.</translation>
    </message>
    <message>
        <source>The recording runs %1 h %2 min, from channel %3&apos;s first key frame to channel %4&apos;s last; the player opens recordings shorter than 26 hours.</source>
        <translation>La grabación dura %1 h %2 min, desde el primer fotograma clave del canal %3 hasta el último del canal %4; el reproductor abre grabaciones de menos de 26 horas.</translation>
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
        <source>Starts or pauses playback. Keys: Space or K.</source>
        <translation>Inicia o pausa la reproducción. Teclas: Espacio o K.</translation>
    </message>
    <message>
        <source>Plays backwards; each press the next speed. Key: [</source>
        <translation>Reproduce hacia atrás; cada pulsación, la velocidad siguiente. Tecla: [</translation>
    </message>
    <message>
        <source>Plays faster; each press the next speed. Key: ]</source>
        <translation>Reproduce más rápido; cada pulsación, la velocidad siguiente. Tecla: ]</translation>
    </message>
    <message>
        <source>Jumps 59 seconds backwards. Key: Down.</source>
        <translation>Salta 59 segundos hacia atrás. Tecla: Flecha abajo.</translation>
    </message>
    <message>
        <source>Jumps 59 seconds forwards. Key: Up.</source>
        <translation>Salta 59 segundos hacia delante. Tecla: Flecha arriba.</translation>
    </message>
    <message>
        <source>Chooses a backup file to play. Key: Ctrl+O.</source>
        <translation>Elige un archivo de copia de seguridad para reproducir. Tecla: Ctrl+O.</translation>
    </message>
    <message>
        <source>Turns the sound off or on again. Key: M.</source>
        <translation>Desactiva el sonido o lo vuelve a activar. Tecla: M.</translation>
    </message>
    <message>
        <source>Turns the sound on.</source>
        <translation>Activa el sonido.</translation>
    </message>
    <message>
        <source>Makes the window as large as the screen.</source>
        <translation>Hace la ventana tan grande como la pantalla.</translation>
    </message>
    <message>
        <source>Hides the window in the task bar.</source>
        <translation>Oculta la ventana en la barra de tareas.</translation>
    </message>
    <message>
        <source>Ends the program. Keys: Q or Ctrl+Q.</source>
        <translation>Cierra el programa. Teclas: Q o Ctrl+Q.</translation>
    </message>
    <message>
        <source>Shows the selected camera alone. Key: 1.</source>
        <translation>Muestra solo la cámara seleccionada. Tecla: 1.</translation>
    </message>
    <message>
        <source>Shows four cameras. Key: 2.</source>
        <translation>Muestra cuatro cámaras. Tecla: 2.</translation>
    </message>
    <message>
        <source>Shows nine cameras. Key: 3.</source>
        <translation>Muestra nueve cámaras. Tecla: 3.</translation>
    </message>
    <message>
        <source>Shows sixteen cameras. Key: 4.</source>
        <translation>Muestra dieciséis cámaras. Tecla: 4.</translation>
    </message>
    <message>
        <source>Sound volume, 0 to 15. Keys: 0 up, 9 down.</source>
        <translation>Volumen del sonido, de 0 a 15. Teclas: 0 sube, 9 baja.</translation>
    </message>
    <message>
        <source>The second of the recording being played. Keys: Left and Right 5 seconds, Home, End, Ctrl+G.</source>
        <translation>El segundo de la grabación que se está reproduciendo. Teclas: Flecha izquierda y derecha 5 segundos, Inicio, Fin, Ctrl+G.</translation>
    </message>
    <message>
        <source>The path of the open backup file.</source>
        <translation>La ruta del archivo de copia de seguridad abierto.</translation>
    </message>
    <message>
        <source>The recordings of a recorder storage folder.</source>
        <translation>Las grabaciones de una carpeta de almacenamiento del grabador.</translation>
    </message>
    <message>
        <source>Opens a recorder storage folder.</source>
        <translation>Abre una carpeta de almacenamiento del grabador.</translation>
    </message>
    <message>
        <source>Builds channel files from the storage folder.</source>
        <translation>Crea archivos de canal a partir de la carpeta de almacenamiento.</translation>
    </message>
    <message>
        <source>Combines channel files.</source>
        <translation>Combina archivos de canal.</translation>
    </message>
    <message>
        <source>Date and time of the second being played. Double click: full screen.</source>
        <translation>Fecha y hora del segundo que se está reproduciendo. Doble clic: pantalla completa.</translation>
    </message>
    <message>
        <source>The rewind or fast-forward speed.</source>
        <translation>La velocidad de rebobinado o de avance rápido.</translation>
    </message>
    <message>
        <source>The program&apos;s version.</source>
        <translation>La versión del programa.</translation>
    </message>
    <message>
        <source>The name of the selected camera.</source>
        <translation>El nombre de la cámara seleccionada.</translation>
    </message>
    <message>
        <source>Time played and the recording&apos;s length.</source>
        <translation>Tiempo reproducido y duración de la grabación.</translation>
    </message>
    <message>
        <source>Shown while a position is looked for.</source>
        <translation>Se muestra mientras se busca una posición.</translation>
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
    <message>
        <source>Activity Timeline</source>
        <translation>Línea de tiempo de actividad</translation>
    </message>
    <message>
        <source>Next Event</source>
        <translation>Evento siguiente</translation>
    </message>
    <message>
        <source>Previous Event</source>
        <translation>Evento anterior</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Whole Picture</source>
        <translation>Imagen completa</translation>
    </message>
    <message>
        <source>Picture Adjustments...</source>
        <translation>Ajustes de imagen...</translation>
    </message>
    <message>
        <source>Deinterlace</source>
        <translation>Desentrelazado</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Automatic (as the stream marks its pictures)</source>
        <translation>Automático (según marque el flujo sus imágenes)</translation>
    </message>
    <message>
        <source>Save View</source>
        <translation>Guardar vista</translation>
    </message>
    <message>
        <source>Open Case...</source>
        <translation>Abrir caso...</translation>
    </message>
</context>
<context>
    <name>PlayerDlg</name>
    <message>
        <source>View saved to %1</source>
        <translation>Vista guardada en %1</translation>
    </message>
    <message>
        <source>Snapshot saved to %1</source>
        <translation>Instantánea guardada en %1</translation>
    </message>
    <message>
        <source>View not saved: %1</source>
        <translation>Vista no guardada: %1</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Instantánea no guardada: %1</translation>
    </message>
    <message>
        <source>the last one is still being saved</source>
        <translation>la anterior aún se está guardando</translation>
    </message>
    <message>
        <source>off</source>
        <translation>desactivado</translation>
    </message>
    <message>
        <source>on</source>
        <translation>activado</translation>
    </message>
    <message>
        <source>automatic</source>
        <translation>automático</translation>
    </message>
    <message>
        <source>Deinterlacing of CH %1: %2</source>
        <translation>Desentrelazado de CH %1: %2</translation>
    </message>
    <message>
        <source>Play / Pause</source>
        <translation>Reproducir / Pausa</translation>
    </message>
    <message>
        <source>Rewind, next rewind speed</source>
        <translation>Rebobinar, siguiente velocidad de rebobinado</translation>
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
        <source>Fast forward, next speed</source>
        <translation>Avance rápido, siguiente velocidad</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>Sonido activado / desactivado</translation>
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
        <source>Open a file</source>
        <translation>Abrir un archivo</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Seek (Left / Right: 5 seconds, Home, End)</source>
        <translation>Buscar (Izquierda / Derecha: 5 segundos, Inicio, Fin)</translation>
    </message>
    <message>
        <source>Volume (0: up, 9: down)</source>
        <translation>Volumen (0: subir, 9: bajar)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Go to Time</source>
        <translation>Ir a la hora</translation>
    </message>
    <message>
        <source>Recording time (YYYY-MM-DD HH:MM:SS) or elapsed time (H:MM:SS):</source>
        <translation>Hora de grabación (AAAA-MM-DD HH:MM:SS) o tiempo transcurrido (H:MM:SS):</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time of this recording. Type a time from %2 to %3, or an elapsed time such as 0:01:30.</source>
        <translation>«%1» no es una hora de esta grabación. Escriba una hora entre %2 y %3, o un tiempo transcurrido como 0:01:30.</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>Cannot start the build</source>
        <translation>No se puede iniciar la creación</translation>
    </message>
    <message>
        <source>Building %1%</source>
        <translation>Creando %1 %</translation>
    </message>
    <message>
        <source>No later event on any channel</source>
        <translation>No hay ningún evento posterior en ningún canal</translation>
    </message>
    <message>
        <source>No later event on CH %1</source>
        <translation>No hay ningún evento posterior en CH %1</translation>
    </message>
    <message>
        <source>No earlier event on any channel</source>
        <translation>No hay ningún evento anterior en ningún canal</translation>
    </message>
    <message>
        <source>No earlier event on CH %1</source>
        <translation>No hay ningún evento anterior en CH %1</translation>
    </message>
    <message>
        <source> yet (the analysis is at %1 %)</source>
        <translation> por ahora (el análisis va por el %1 %)</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <source>Play / Pause</source>
        <translation>Reproducir / Pausa</translation>
    </message>
    <message>
        <source>5 seconds forward</source>
        <translation>5 segundos adelante</translation>
    </message>
    <message>
        <source>5 seconds back</source>
        <translation>5 segundos atrás</translation>
    </message>
    <message>
        <source>59 seconds forward</source>
        <translation>59 segundos adelante</translation>
    </message>
    <message>
        <source>59 seconds back</source>
        <translation>59 segundos atrás</translation>
    </message>
    <message>
        <source>Next fast-forward speed</source>
        <translation>Siguiente velocidad de avance rápido</translation>
    </message>
    <message>
        <source>Next rewind speed</source>
        <translation>Siguiente velocidad de rebobinado</translation>
    </message>
    <message>
        <source>Next picture of the selected channel (paused)</source>
        <translation>Imagen siguiente del canal seleccionado (en pausa)</translation>
    </message>
    <message>
        <source>Previous picture of the selected channel (paused)</source>
        <translation>Imagen anterior del canal seleccionado (en pausa)</translation>
    </message>
    <message>
        <source>Go to a date and time or an elapsed time</source>
        <translation>Ir a una fecha y hora o a un tiempo transcurrido</translation>
    </message>
    <message>
        <source>First second</source>
        <translation>Primer segundo</translation>
    </message>
    <message>
        <source>Last second</source>
        <translation>Último segundo</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>Subir volumen</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Bajar volumen</translation>
    </message>
    <message>
        <source>Sound on / off</source>
        <translation>Sonido activado / desactivado</translation>
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
        <source>Full screen (also a double click on the date line)</source>
        <translation>Pantalla completa (también doble clic en la línea de fecha)</translation>
    </message>
    <message>
        <source>Zoom into the selected pane (also the wheel)</source>
        <translation>Acercar el panel seleccionado (también con la rueda)</translation>
    </message>
    <message>
        <source>Zoom out of the selected pane</source>
        <translation>Alejar el panel seleccionado</translation>
    </message>
    <message>
        <source>Whole picture in the selected pane</source>
        <translation>Imagen completa en el panel seleccionado</translation>
    </message>
    <message>
        <source>Picture adjustments of the selected pane</source>
        <translation>Ajustes de imagen del panel seleccionado</translation>
    </message>
    <message>
        <source>Deinterlacing of the selected pane: off, on, automatic</source>
        <translation>Desentrelazado del panel seleccionado: desactivado, activado, automático</translation>
    </message>
    <message>
        <source>Save what the selected pane shows</source>
        <translation>Guardar lo que muestra el panel seleccionado</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Abrir un archivo</translation>
    </message>
    <message>
        <source>Next .ysk file of the folder</source>
        <translation>Siguiente archivo .ysk de la carpeta</translation>
    </message>
    <message>
        <source>Previous .ysk file of the folder</source>
        <translation>Archivo .ysk anterior de la carpeta</translation>
    </message>
    <message>
        <source>Activity timeline shown / hidden</source>
        <translation>Mostrar / ocultar la línea de tiempo de actividad</translation>
    </message>
    <message>
        <source>Next event of the selected channel</source>
        <translation>Evento siguiente del canal seleccionado</translation>
    </message>
    <message>
        <source>Previous event of the selected channel</source>
        <translation>Evento anterior del canal seleccionado</translation>
    </message>
    <message>
        <source>Next event of any channel</source>
        <translation>Evento siguiente de cualquier canal</translation>
    </message>
    <message>
        <source>Previous event of any channel</source>
        <translation>Evento anterior de cualquier canal</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Save a snapshot</source>
        <translation>Guardar una instantánea</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Salir de pantalla completa</translation>
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
    <name>ov::CExportClipDlg</name>
    <message>
        <source>Export Clip</source>
        <translation>Exportar clip</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canales</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Desde</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Hasta</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Examinar...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>MP4 (sound as AAC)</source>
        <translation>MP4 (sonido en AAC)</translation>
    </message>
    <message>
        <source>MKV (sound as recorded)</source>
        <translation>MKV (sonido tal como se grabó)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>Exportar a</translation>
    </message>
    <message>
        <source>Tick at least one channel.</source>
        <translation>Marque al menos un canal.</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Exportando...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cannot start the export: </source>
        <translation>No se puede iniciar la exportación: </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Wrote %1 clip(s) to %2</source>
        <translation>Se han escrito %1 clip(s) en %2</translation>
    </message>
    <message>
        <source>; the source file changed while it was read (%1), see the report</source>
        <translation>; el archivo de origen cambió mientras se leía (%1), consulte el informe</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Cancelando...</translation>
    </message>
</context>
<context>
    <name>ov::COpenCaseDlg</name>
    <message>
        <source>%1 channel: %2</source>
        <translation>%1 canal: %2</translation>
    </message>
    <message>
        <source>%1 channels: %2</source>
        <translation>%1 canales: %2</translation>
    </message>
    <message>
        <source>Open Case</source>
        <translation>Abrir caso</translation>
    </message>
    <message>
        <source>Recordings in %1, by recorder and day:</source>
        <translation>Grabaciones en %1, por grabador y día:</translation>
    </message>
    <message>
        <source>Recorder / day</source>
        <translation>Grabador / día</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Desde</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Hasta</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Recording sets</source>
        <translation>Conjuntos de grabación</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>The catalog holds no recording that opens.</source>
        <translation>El catálogo no contiene ninguna grabación que se pueda abrir.</translation>
    </message>
</context>
<context>
    <name>ov::CPictureAdjustDlg</name>
    <message>
        <source>Brightness</source>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturación</translation>
    </message>
    <message>
        <source>Picture Adjustments: CH %1</source>
        <translation>Ajustes de imagen: CH %1</translation>
    </message>
</context>
<context>
    <name>ov::CPlayerDlg</name>
    <message>
        <source>Open the backup files of a folder as one recording</source>
        <translation>Abrir los archivos de copia de seguridad de una carpeta como una sola grabación</translation>
    </message>
    <message>
        <source>None of the files given forms a recording.</source>
        <translation>Ninguno de los archivos indicados forma una grabación.</translation>
    </message>
    <message>
        <source>The recording set was not opened: %1</source>
        <translation>No se abrió el conjunto de grabación: %1</translation>
    </message>
    <message>
        <source>Not part of the recording set:</source>
        <translation>No forman parte del conjunto de grabación:</translation>
    </message>
    <message numerus="yes">
        <source>%n files play as one recording (%1 ... %2)</source>
        <translation>
            <numerusform>%n archivo se reproduce como una sola grabación (%1 ... %2)</numerusform>
            <numerusform>%n archivos se reproducen como una sola grabación (%1 ... %2)</numerusform>
        </translation>
    </message>
</context>
</TS>
