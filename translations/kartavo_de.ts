<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BoundedDownload</name>
    <message>
        <source>the answer was larger than %1 MiB</source>
        <translation>die Antwort war größer als %1 MiB</translation>
    </message>
    <message>
        <source>no full answer came within %1 s</source>
        <translation>innerhalb von %1 s kam keine vollständige Antwort</translation>
    </message>
</context>
<context>
    <name>FindPlaceBox</name>
    <message>
        <source>Find a place</source>
        <translation>Einen Ort finden</translation>
    </message>
    <message>
        <source>Place to find</source>
        <translation>Gesuchter Ort</translation>
    </message>
    <message>
        <source>City, address or coordinates; Enter searches online</source>
        <translation>Stadt, Adresse oder Koordinaten; Enter sucht online</translation>
    </message>
    <message>
        <source>Places found</source>
        <translation>Gefundene Orte</translation>
    </message>
    <message>
        <source>Search state</source>
        <translation>Stand der Suche</translation>
    </message>
    <message>
        <source>Coordinates</source>
        <translation>Koordinaten</translation>
    </message>
    <message>
        <source>No city of that name in the offline list. Press Enter to search OpenStreetMap.</source>
        <translation>Keine Stadt dieses Namens in der Offline-Liste. Enter durchsucht OpenStreetMap.</translation>
    </message>
    <message>
        <source>No network: only the offline list of cities was searched.</source>
        <translation>Kein Netzwerk: nur die Offline-Liste der Städte wurde durchsucht.</translation>
    </message>
    <message>
        <source>Searching OpenStreetMap… (Escape cancels)</source>
        <translation>OpenStreetMap wird durchsucht… (Escape bricht ab)</translation>
    </message>
    <message>
        <source>From OpenStreetMap:</source>
        <translation>Aus OpenStreetMap:</translation>
    </message>
    <message>
        <source>OpenStreetMap found no such place.
</source>
        <translation>OpenStreetMap fand keinen solchen Ort.
</translation>
    </message>
    <message>
        <source>The OpenStreetMap search failed: %1</source>
        <translation>Die Suche bei OpenStreetMap schlug fehl: %1</translation>
    </message>
    <message>
        <source>Search cancelled.</source>
        <translation>Suche abgebrochen.</translation>
    </message>
    <message>
        <source>Saved place</source>
        <translation>Gespeicherter Ort</translation>
    </message>
</context>
<context>
    <name>GpxReader</name>
    <message numerus="yes">
        <source>%n point(s) of %1 have a time that cannot be read; they are drawn but not matched.</source>
        <translation>
            <numerusform>%n Punkt von %1 hat eine unlesbare Zeit; er wird gezeichnet, aber nicht abgeglichen.</numerusform>
            <numerusform>%n Punkte von %1 haben eine unlesbare Zeit; sie werden gezeichnet, aber nicht abgeglichen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LocationHistoryDialog</name>
    <message>
        <source>Open Location History</source>
        <translation>Standortverlauf öffnen</translation>
    </message>
    <message>
        <source>Kartavo keeps the points of %1 on these days (UTC) and turns them into a track.</source>
        <translation>Kartavo behält die Punkte von %1 an diesen Tagen (UTC) und macht daraus einen Track.</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Bis:</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>Points whose accuracy is said to be worse than this are left out</source>
        <translation>Punkte, deren angegebene Genauigkeit schlechter ist, werden weggelassen</translation>
    </message>
    <message>
        <source>&amp;Accurate to:</source>
        <translation>&amp;Genau auf:</translation>
    </message>
    <message>
        <source>The last day is before the first.</source>
        <translation>Der letzte Tag liegt vor dem ersten.</translation>
    </message>
</context>
<context>
    <name>MatchDialog</name>
    <message>
        <source>Match to Track</source>
        <translation>Mit Track abgleichen</translation>
    </message>
    <message>
        <source>Camera&apos;s time zone</source>
        <translation>Zeitzone der Kamera</translation>
    </message>
    <message>
        <source>This computer&apos;s zone (%1)</source>
        <translation>Zone dieses Computers (%1)</translation>
    </message>
    <message>
        <source>Camera clock correction</source>
        <translation>Korrektur der Kamerauhr</translation>
    </message>
    <message>
        <source>Added to the camera&apos;s clock: +h:mm:ss when it was slow, -h:mm:ss when it was fast</source>
        <translation>Zur Kamerauhr addiert: +h:mm:ss, wenn sie nachging, -h:mm:ss, wenn sie vorging</translation>
    </message>
    <message>
        <source>Largest gap</source>
        <translation>Größte Lücke</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Interpolate only between points at most this far apart in time, and take the nearest point only when it is at most this far off</source>
        <translation>Nur zwischen Punkten interpolieren, die zeitlich höchstens so weit auseinanderliegen, und den nächsten Punkt nur nehmen, wenn er höchstens so weit entfernt ist</translation>
    </message>
    <message>
        <source>Only the selected picture</source>
        <translation>Nur das ausgewählte Bild</translation>
    </message>
    <message>
        <source>Only the %1 selected pictures</source>
        <translation>Nur die %1 ausgewählten Bilder</translation>
    </message>
    <message>
        <source>Only the selected pictures</source>
        <translation>Nur die ausgewählten Bilder</translation>
    </message>
    <message>
        <source>Camera&apos;s &amp;zone:</source>
        <translation>&amp;Zone der Kamera:</translation>
    </message>
    <message>
        <source>Clock &amp;correction:</source>
        <translation>Uhr&amp;korrektur:</translation>
    </message>
    <message>
        <source>&amp;Largest gap:</source>
        <translation>&amp;Größte Lücke:</translation>
    </message>
    <message>
        <source>&amp;Match</source>
        <translation>&amp;Abgleichen</translation>
    </message>
    <message>
        <source>The clock correction is not a time such as +0:12:30 or -1:00:00.</source>
        <translation>Die Uhrkorrektur ist keine Zeit wie +0:12:30 oder -1:00:00.</translation>
    </message>
</context>
<context>
    <name>NominatimReverse</name>
    <message>
        <source>Place names by Nominatim, © OpenStreetMap contributors</source>
        <translation>Ortsnamen von Nominatim, © OpenStreetMap-Mitwirkende</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>der Server antwortete %1</translation>
    </message>
    <message>
        <source>the answer was not a place</source>
        <translation>die Antwort war kein Ort</translation>
    </message>
</context>
<context>
    <name>PictureList</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Taken</source>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>Position now</source>
        <translation>Position jetzt</translation>
    </message>
    <message>
        <source>New position</source>
        <translation>Neue Position</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Stand</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation> (aus %1)</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message>
        <source>written</source>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>failed: %1; a sidecar can hold its position (Picture &gt; Write Positions Into)</source>
        <translation>fehlgeschlagen: %1; eine Sidecar-Datei kann seine Position aufnehmen (Bild &gt; Positionen schreiben in)</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>unchanged; only a sidecar can hold its position (Picture &gt; Write Positions Into): %1</source>
        <translation>unverändert; nur eine Sidecar-Datei kann seine Position aufnehmen (Bild &gt; Positionen schreiben in): %1</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>reading...</source>
        <translation>wird gelesen...</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 Bild</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 Bilder</translation>
    </message>
    <message>
        <source>City</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>%1 (%2 km)</source>
        <translation>%1 (%2 km)</translation>
    </message>
    <message>
        <source>Proposed: %1</source>
        <translation>Vorgeschlagen: %1</translation>
    </message>
    <message>
        <source>Proposed: %1; the picture holds %2</source>
        <translation>Vorgeschlagen: %1; das Bild enthält %2</translation>
    </message>
</context>
<context>
    <name>PictureTable</name>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
</context>
<context>
    <name>PicturesBatch</name>
    <message>
        <source>Reading</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>The pictures are busy; write again when they are done.</source>
        <translation>Die Bilder sind beschäftigt; schreiben Sie erneut, wenn sie fertig sind.</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Undo must wait until the pictures in hand are done</source>
        <translation>Rückgängig muss warten, bis die Bilder in Arbeit fertig sind</translation>
    </message>
    <message>
        <source>There is no write to undo</source>
        <translation>Es gibt kein Schreiben zum Rückgängigmachen</translation>
    </message>
    <message>
        <source>Undoing</source>
        <translation>Rückgängig machen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>not undone: %1</source>
        <translation>nicht rückgängig gemacht: %1</translation>
    </message>
    <message>
        <source>Reading stopped after %1.</source>
        <translation>Lesen nach %1 angehalten.</translation>
    </message>
    <message>
        <source>GPS information recorded in %1</source>
        <translation>GPS-Daten in %1 geschrieben</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Cancelled: %1 not written</source>
        <translation>Abgebrochen: %1 nicht geschrieben</translation>
    </message>
    <message>
        <source>GPS information put back in %1</source>
        <translation>GPS-Daten in %1 wiederhergestellt</translation>
    </message>
    <message>
        <source>Not undone:</source>
        <translation>Nicht rückgängig gemacht:</translation>
    </message>
    <message>
        <source>Writing place names</source>
        <translation>Ortsnamen werden geschrieben</translation>
    </message>
    <message>
        <source>Place names recorded in %1</source>
        <translation>Ortsnamen gespeichert in %1</translation>
    </message>
</context>
<context>
    <name>PicturesTrack</name>
    <message>
        <source>Pictures with positions</source>
        <translation>Bilder mit Positionen</translation>
    </message>
</context>
<context>
    <name>PicturesWindow</name>
    <message>
        <source>Remove from list</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message>
        <source>&amp;Use map position</source>
        <translation>Karten&amp;position verwenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>No pictures in %1</source>
        <translation>Keine Bilder in %1</translation>
    </message>
    <message>
        <source>%1 listed from %2</source>
        <translation>%1 aus %2 aufgelistet</translation>
    </message>
    <message>
        <source>Looking for pictures in %1...</source>
        <translation>Suche nach Bildern in %1...</translation>
    </message>
    <message>
        <source>Select the pictures that should get the map&apos;s position first.</source>
        <translation>Wählen Sie zuerst die Bilder aus, die die Position der Karte erhalten sollen.</translation>
    </message>
    <message>
        <source>map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>%1 will get %2, %3.</source>
        <translation>%1 erhält %2, %3.</translation>
    </message>
    <message>
        <source>%1: %2 done, %3 left</source>
        <translation>%1: %2 fertig, %3 übrig</translation>
    </message>
    <message>
        <source>, about %1 left</source>
        <translation>, noch etwa %1</translation>
    </message>
    <message>
        <source>Write 1 change</source>
        <translation>1 Änderung schreiben</translation>
    </message>
    <message>
        <source>Write %1 changes</source>
        <translation>%1 Änderungen schreiben</translation>
    </message>
    <message>
        <source>Kartavo - Pictures</source>
        <translation>Kartavo - Bilder</translation>
    </message>
    <message>
        <source>Give the selected pictures the position of the centre of the map (Ctrl+M)</source>
        <translation>Den ausgewählten Bildern die Position der Kartenmitte geben (Strg+M)</translation>
    </message>
    <message>
        <source>Write the waiting positions into the pictures (Ctrl+S)</source>
        <translation>Die wartenden Positionen in die Bilder schreiben (Strg+S)</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>moved on the map</source>
        <translation>auf der Karte verschoben</translation>
    </message>
    <message>
        <source>placed on the map</source>
        <translation>auf der Karte platziert</translation>
    </message>
    <message>
        <source>The map is not ready yet.</source>
        <translation>Die Karte ist noch nicht bereit.</translation>
    </message>
    <message>
        <source>Select the pictures to place first.</source>
        <translation>Wählen Sie zuerst die zu platzierenden Bilder aus.</translation>
    </message>
    <message>
        <source>Kartavo</source>
        <translation>Kartavo</translation>
    </message>
    <message>
        <source>1 new position is waiting to be written.</source>
        <translation>1 neue Position wartet darauf, geschrieben zu werden.</translation>
    </message>
    <message>
        <source>%1 new positions are waiting to be written.</source>
        <translation>%1 neue Positionen warten darauf, geschrieben zu werden.</translation>
    </message>
    <message>
        <source>Write them into the pictures now, discard them, or go back?</source>
        <translation>Jetzt in die Bilder schreiben, verwerfen oder zurückgehen?</translation>
    </message>
    <message>
        <source>&amp;Write</source>
        <translation>&amp;Schreiben</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>discarded</source>
        <translation>verworfen</translation>
    </message>
</context>
<context>
    <name>PlaceNamesWindow</name>
    <message>
        <source>Name the Places</source>
        <translation>Orte benennen</translation>
    </message>
    <message>
        <source>The names of the places of the listed pictures with a position are proposed in the trip window&apos;s City, Region, Country and Code columns. Edit them there (double-click or F2), then write them.</source>
        <translation>Die Namen der Orte der aufgelisteten Bilder mit Position werden in den Spalten Ort, Region, Land und Code des Reisefensters vorgeschlagen. Dort bearbeiten (Doppelklick oder F2), dann schreiben.</translation>
    </message>
    <message>
        <source> km</source>
        <translation> km</translation>
    </message>
    <message>
        <source>Farther from the nearest city than this, the city is left empty</source>
        <translation>Weiter von der nächsten Stadt entfernt bleibt der Ort leer</translation>
    </message>
    <message>
        <source>&amp;Replace names the pictures already hold</source>
        <translation>Vorhandene Namen der Bilder &amp;ersetzen</translation>
    </message>
    <message>
        <source>Name a &amp;city within:</source>
        <translation>&amp;Stadt benennen im Umkreis von:</translation>
    </message>
    <message>
        <source>Name &amp;Offline</source>
        <translation>&amp;Offline benennen</translation>
    </message>
    <message>
        <source>&amp;Look Up Online</source>
        <translation>Online &amp;nachschlagen</translation>
    </message>
    <message>
        <source>&amp;Write Names</source>
        <translation>Namen &amp;schreiben</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Asks OpenStreetMap&apos;s Nominatim, one picture a second</source>
        <translation>Fragt Nominatim von OpenStreetMap, ein Bild pro Sekunde</translation>
    </message>
    <message>
        <source>Looking up online stopped: %1</source>
        <translation>Online-Suche angehalten: %1</translation>
    </message>
    <message>
        <source>Looking up online cancelled; %1 named.</source>
        <translation>Online-Suche abgebrochen; %1 benannt.</translation>
    </message>
    <message>
        <source>Looking up online stopped</source>
        <translation>Online-Suche angehalten</translation>
    </message>
    <message>
        <source>%1 named online.</source>
        <translation>%1 online benannt.</translation>
    </message>
    <message>
        <source>No listed picture has a position yet: give them one first.</source>
        <translation>Noch hat kein aufgelistetes Bild eine Position: zuerst eine geben.</translation>
    </message>
    <message>
        <source>%1 of %2 with a position named from the offline list of cities; the others are at sea or far from any city.</source>
        <translation>%1 von %2 mit Position aus der Offline-Städteliste benannt; die übrigen liegen auf See oder fern jeder Stadt.</translation>
    </message>
    <message>
        <source>Looking up %1 online...</source>
        <translation>%1 werden online nachgeschlagen...</translation>
    </message>
    <message>
        <source>No names are proposed: name the places first.</source>
        <translation>Keine Namen vorgeschlagen: zuerst die Orte benennen.</translation>
    </message>
</context>
<context>
    <name>PlacesDialog</name>
    <message>
        <source>Places</source>
        <translation>Orte</translation>
    </message>
    <message>
        <source>Saved places</source>
        <translation>Gespeicherte Orte</translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation>&amp;Hingehen</translation>
    </message>
    <message>
        <source>&amp;Rename...</source>
        <translation>&amp;Umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Rename Place</source>
        <translation>Ort umbenennen</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open Pictures</source>
        <translation>Bilder öffnen</translation>
    </message>
    <message>
        <source>Open Folder and Sub-folders</source>
        <translation>Ordner und Unterordner öffnen</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Open P&amp;ictures...</source>
        <translation>B&amp;ilder öffnen...</translation>
    </message>
    <message>
        <source>Open &amp;Folder...</source>
        <translation>&amp;Ordner öffnen...</translation>
    </message>
    <message>
        <source>Open Folder and &amp;Sub-folders...</source>
        <translation>Ordner und &amp;Unterordner öffnen...</translation>
    </message>
    <message>
        <source>&amp;Undo Last Write</source>
        <translation>Letztes Schreiben &amp;zurücknehmen</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>&amp;Open Track...</source>
        <translation>Track ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation>Track öffnen</translation>
    </message>
    <message>
        <source>&amp;Tracks Window</source>
        <translation>&amp;Trackfenster</translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation>Mit Track &amp;abgleichen...</translation>
    </message>
    <message>
        <source>Set &amp;Clock from This Picture</source>
        <translation>&amp;Uhr nach diesem Bild stellen</translation>
    </message>
    <message>
        <source>no times</source>
        <translation>keine Zeiten</translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>Tags photographs with a geographic position.</source>
        <translation>Versieht Fotos mit einer geografischen Position.</translation>
    </message>
    <message>
        <source>Licence: GNU General Public License, version 3 or later. Kartavo comes with absolutely no warranty.</source>
        <translation>Lizenz: GNU General Public License, Version 3 oder neuer. Kartavo wird ohne jede Gewährleistung geliefert.</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Danksagungen</translation>
    </message>
    <message>
        <source>Map data © OpenStreetMap contributors, available under the Open Database License (ODbL): %1</source>
        <translation>Kartendaten © OpenStreetMap-Mitwirkende, verfügbar unter der Open Database License (ODbL): %1</translation>
    </message>
    <message>
        <source>The map is drawn with Leaflet, © Vladimir Agafonkin and CloudMade, under the BSD 2-Clause License: %1</source>
        <translation>Die Karte wird mit Leaflet gezeichnet, © Vladimir Agafonkin und CloudMade, unter der BSD-2-Clause-Lizenz: %1</translation>
    </message>
    <message>
        <source>Exif data is read and written with ExifTool by Phil Harvey: %1</source>
        <translation>Exif-Daten werden mit ExifTool von Phil Harvey gelesen und geschrieben: %1</translation>
    </message>
    <message>
        <source>The offline city list is GeoNames&apos; (CC BY 4.0), through libgeonames: %1</source>
        <translation>Die Offline-Städteliste stammt von GeoNames (CC BY 4.0), über libgeonames: %1</translation>
    </message>
    <message>
        <source>Place search uses Nominatim under the OpenStreetMap Foundation&apos;s usage policy: a search only when you press Enter, at most one a second, and its results shown with their attribution: %1</source>
        <translation>Die Ortssuche nutzt Nominatim nach den Nutzungsrichtlinien der OpenStreetMap Foundation: eine Suche nur, wenn Sie Enter drücken, höchstens eine pro Sekunde, und ihre Ergebnisse mit ihrer Quellenangabe: %1</translation>
    </message>
    <message>
        <source>Built with Qt %1.</source>
        <translation>Erstellt mit Qt %1.</translation>
    </message>
    <message>
        <source>About Kartavo</source>
        <translation>Über Kartavo</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <source>&amp;About Kartavo</source>
        <translation>Ü&amp;ber Kartavo</translation>
    </message>
    <message>
        <source>Unnamed command</source>
        <translation>Unbenannter Befehl</translation>
    </message>
    <message>
        <source>%1 &gt; %2</source>
        <translation>%1 &gt; %2</translation>
    </message>
    <message>
        <source>Menus</source>
        <translation>Menüs</translation>
    </message>
    <message>
        <source>%1 menu</source>
        <translation>Menü %1</translation>
    </message>
    <message>
        <source>Main window</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Kartavo - Keyboard Shortcuts</source>
        <translation>Kartavo - Tastenkürzel</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>  Latitude</source>
        <translation>  Breite</translation>
    </message>
    <message>
        <source>  Longitude</source>
        <translation>  Länge</translation>
    </message>
    <message>
        <source>     Zoom</source>
        <translation>     Zoom</translation>
    </message>
    <message>
        <source>Move to point</source>
        <translation>Zum Punkt</translation>
    </message>
    <message>
        <source>Record to picture</source>
        <translation>Ins Bild schreiben</translation>
    </message>
    <message>
        <source>  Date,Time</source>
        <translation>  Datum,Zeit</translation>
    </message>
    <message>
        <source>The &amp;Picture Itself</source>
        <translation>Das &amp;Bild selbst</translation>
    </message>
    <message>
        <source>An &amp;XMP Sidecar Beside It</source>
        <translation>Eine &amp;XMP-Sidecar-Datei daneben</translation>
    </message>
    <message>
        <source>The Picture, a Sidecar for &amp;RAW Files</source>
        <translation>Das Bild, eine Sidecar-Datei für &amp;RAW-Dateien</translation>
    </message>
    <message>
        <source>Sidecar Named NAME.xmp</source>
        <translation>Sidecar-Datei namens NAME.xmp</translation>
    </message>
    <message>
        <source>Sidecar Named NAME.EXT.xmp</source>
        <translation>Sidecar-Datei namens NAME.EXT.xmp</translation>
    </message>
    <message>
        <source>&amp;Picture</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>&amp;Write Positions Into</source>
        <translation>&amp;Positionen schreiben in</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Open Picture</source>
        <translation>&amp;Bild öffnen</translation>
    </message>
    <message>
        <source>&amp;Record GPS to Picture</source>
        <translation>GPS ins Bild &amp;schreiben</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>Places</source>
        <translation>Orte</translation>
    </message>
    <message>
        <source>The places could not be saved: the settings file cannot be written.</source>
        <translation>Die Orte konnten nicht gespeichert werden: die Einstellungsdatei ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>Save This Place</source>
        <translation>Diesen Ort speichern</translation>
    </message>
    <message>
        <source>The map shows no position to save.</source>
        <translation>Die Karte zeigt keine Position zum Speichern.</translation>
    </message>
    <message>
        <source>Name for this place:</source>
        <translation>Name für diesen Ort:</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Karte</translation>
    </message>
    <message>
        <source>&amp;Find Place...</source>
        <translation>Ort &amp;finden...</translation>
    </message>
    <message>
        <source>&amp;Save This Place...</source>
        <translation>Diesen Ort &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Places...</source>
        <translation>&amp;Orte...</translation>
    </message>
    <message>
        <source>&amp;Track</source>
        <translation>&amp;Track</translation>
    </message>
    <message>
        <source>Pictures Wi&amp;ndow</source>
        <translation>Bilder&amp;fenster</translation>
    </message>
    <message>
        <source>Use &amp;Map Position</source>
        <translation>&amp;Kartenposition verwenden</translation>
    </message>
    <message>
        <source>Write Waiting &amp;Positions</source>
        <translation>&amp;Wartende Positionen schreiben</translation>
    </message>
    <message>
        <source>Open Location History</source>
        <translation>Standortverlauf öffnen</translation>
    </message>
    <message>
        <source>Location history (*.json *.JSON);;All files (*)</source>
        <translation>Standortverlauf (*.json *.JSON);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>No points of %1 were kept: %2</source>
        <translation>Keine Punkte von %1 wurden behalten: %2</translation>
    </message>
    <message>
        <source>Opened %1: %2</source>
        <translation>%1 geöffnet: %2</translation>
    </message>
    <message>
        <source>Open &amp;Location History...</source>
        <translation>&amp;Standortverlauf öffnen...</translation>
    </message>
    <message>
        <source>Use &amp;Pictures with Positions as a Track</source>
        <translation>&amp;Bilder mit Positionen als Track verwenden</translation>
    </message>
    <message>
        <source>Fewer than two listed pictures have a position and a time: open the phone&apos;s pictures with the others first.</source>
        <translation>Weniger als zwei aufgelistete Bilder haben eine Position und eine Zeit: öffnen Sie zuerst die Bilder des Telefons zusammen mit den anderen.</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) with positions make a track.</source>
        <translation>
            <numerusform>%n Bild mit Position ergibt einen Track.</numerusform>
            <numerusform>%n Bilder mit Positionen ergeben einen Track.</numerusform>
        </translation>
    </message>
    <message>
        <source>These have no GPS time, so their own clock (in its zone, else %1) was used: %2.</source>
        <translation>Diese haben keine GPS-Zeit, daher wurde ihre eigene Uhr (in ihrer Zone, sonst %1) verwendet: %2.</translation>
    </message>
    <message>
        <source>1 new position waiting to be written</source>
        <translation>1 neue Position wartet aufs Schreiben</translation>
    </message>
    <message>
        <source>%1 new positions waiting to be written</source>
        <translation>%1 neue Positionen warten aufs Schreiben</translation>
    </message>
    <message>
        <source>1 track</source>
        <translation>1 Track</translation>
    </message>
    <message>
        <source>%1 tracks</source>
        <translation>%1 Tracks</translation>
    </message>
    <message>
        <source>it is far too large to be a trip</source>
        <translation>sie ist viel zu groß für eine Reise</translation>
    </message>
    <message>
        <source>Kartavo</source>
        <translation>Kartavo</translation>
    </message>
    <message>
        <source>The trip kept when Kartavo last ended cannot be brought back: %1.</source>
        <translation>Die beim letzten Beenden von Kartavo behaltene Reise kann nicht zurückgeholt werden: %1.</translation>
    </message>
    <message>
        <source>It was set aside as %1.</source>
        <translation>Sie wurde als %1 beiseitegelegt.</translation>
    </message>
    <message>
        <source>Kartavo ended without closing while a trip was open.</source>
        <translation>Kartavo wurde nicht ordentlich beendet, während eine Reise offen war.</translation>
    </message>
    <message>
        <source>Bring it back? %1.</source>
        <translation>Zurückholen? %1.</translation>
    </message>
    <message>
        <source>&amp;Bring Back</source>
        <translation>&amp;Zurückholen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Brought back: %1.</source>
        <translation>Zurückgeholt: %1.</translation>
    </message>
    <message>
        <source>%1 of the waiting positions belong to pictures that are gone.</source>
        <translation>%1 der wartenden Positionen gehören zu Bildern, die nicht mehr da sind.</translation>
    </message>
    <message>
        <source>Tracks no longer there: %1.</source>
        <translation>Nicht mehr vorhandene Tracks: %1.</translation>
    </message>
    <message>
        <source>GPS tracks (*.gpx *.GPX *.kml *.KML %1);;GPX and KML (*.gpx *.GPX *.kml *.KML);;Other formats, read with gpsbabel (%1);;All files (*)</source>
        <translation>GPS-Tracks (*.gpx *.GPX *.kml *.KML %1);;GPX und KML (*.gpx *.GPX *.kml *.KML);;Andere Formate, mit gpsbabel gelesen (%1);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Undo Last Write</source>
        <translation>Letztes Schreiben zurücknehmen</translation>
    </message>
    <message>
        <source>What the undo did</source>
        <translation>Was das Zurücknehmen bewirkt hat</translation>
    </message>
    <message>
        <source>Name the Pl&amp;aces...</source>
        <translation>Orte &amp;benennen...</translation>
    </message>
</context>
<context>
    <name>TileProblem</name>
    <message>
        <source>the server answered %1 %2</source>
        <translation>der Server antwortete %1 %2</translation>
    </message>
    <message>
        <source>Map tiles cannot be loaded from %1: %2. Tiles seen before still show.</source>
        <translation>Kartenkacheln können nicht von %1 geladen werden: %2. Bereits gesehene Kacheln werden weiter angezeigt.</translation>
    </message>
</context>
<context>
    <name>TimeText</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 days %2 h</source>
        <translation>%1 Tage %2 h</translation>
    </message>
</context>
<context>
    <name>Timeline</name>
    <message>
        <source>%1 d</source>
        <translation>%1 T</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>Pictures by their corrected time over the tracks&apos; times. Left and Right move the pictures by a minute (with Shift a second, with Ctrl an hour); Enter sets the clock correction, Esc puts them back.</source>
        <translation>Bilder nach ihrer korrigierten Zeit über den Zeiten der Tracks. Links und Rechts verschieben die Bilder um eine Minute (mit Umschalt eine Sekunde, mit Strg eine Stunde); Enter setzt die Uhrkorrektur, Esc stellt sie zurück.</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The pictures&apos; and tracks&apos; times show here.</source>
        <translation>Hier erscheinen die Zeiten der Bilder und Tracks.</translation>
    </message>
    <message>
        <source>Pictures moved %1: Enter or Apply sets the clock correction</source>
        <translation>Bilder um %1 verschoben: Enter oder Übernehmen setzt die Uhrkorrektur</translation>
    </message>
    <message>
        <source>%1 outside the tracks&apos; times</source>
        <translation>%1 außerhalb der Zeiten der Tracks</translation>
    </message>
</context>
<context>
    <name>TracksWindow</name>
    <message>
        <source>Tracks</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>Track (shown)</source>
        <translation>Track (angezeigt)</translation>
    </message>
    <message>
        <source>Time span</source>
        <translation>Zeitspanne</translation>
    </message>
    <message>
        <source>Local time span</source>
        <translation>Örtliche Zeitspanne</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>In the zone of the track&apos;s own place, which matching starts with</source>
        <translation>In der Zone des Ortes des Tracks, mit der der Abgleich beginnt</translation>
    </message>
    <message>
        <source>&amp;Open Track...</source>
        <translation>Track ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation>Mit Track &amp;abgleichen...</translation>
    </message>
    <message>
        <source>Set Clock from This &amp;Picture</source>
        <translation>Uhr nach diesem &amp;Bild stellen</translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation>Track öffnen</translation>
    </message>
    <message>
        <source>Close the selected tracks</source>
        <translation>Die ausgewählten Tracks schließen</translation>
    </message>
    <message>
        <source>Already open: %1</source>
        <translation>Bereits geöffnet: %1</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>Reading %1 track files...</source>
        <translation>%1 Track-Dateien werden gelesen...</translation>
    </message>
    <message>
        <source>%1, the zone of %2</source>
        <translation>%1, die Zone von %2</translation>
    </message>
    <message>
        <source>%1 (%2 with a time)</source>
        <translation>%1 (%2 mit Zeit)</translation>
    </message>
    <message>
        <source>Opened %1.</source>
        <translation>%1 geöffnet.</translation>
    </message>
    <message>
        <source>%1 is the zone of %2, %3 from where %4 starts.</source>
        <translation>%1 ist die Zone von %2, %3 von dort, wo %4 beginnt.</translation>
    </message>
    <message>
        <source>No pictures to match: open them first (Picture &gt; Open Pictures...).</source>
        <translation>Keine Bilder zum Abgleichen: öffnen Sie sie zuerst (Bild &gt; Bilder öffnen...).</translation>
    </message>
    <message>
        <source>No shown track has times to match with: open one (Track &gt; Open Track...).</source>
        <translation>Kein angezeigter Track hat Zeiten zum Abgleichen: öffnen Sie einen (Track &gt; Track öffnen...).</translation>
    </message>
    <message>
        <source>That picture gives no time taken.</source>
        <translation>Dieses Bild nennt keine Aufnahmezeit.</translation>
    </message>
    <message>
        <source>The map gives no place: %1</source>
        <translation>Die Karte nennt keinen Ort: %1</translation>
    </message>
    <message>
        <source>No shown track has times: open one (Track &gt; Open Track...).</source>
        <translation>Kein angezeigter Track hat Zeiten: öffnen Sie einen (Track &gt; Track öffnen...).</translation>
    </message>
    <message>
        <source>The tracks come no nearer than %1 to the map&apos;s centre: put the map where the picture was taken.</source>
        <translation>Die Tracks kommen der Kartenmitte nicht näher als %1: legen Sie die Karte dorthin, wo das Bild aufgenommen wurde.</translation>
    </message>
    <message>
        <source>The track passed %1 from the map&apos;s centre at %2 UTC: clock correction %3.</source>
        <translation>Der Track kam um %2 UTC %1 an der Kartenmitte vorbei: Uhrkorrektur %3.</translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the list and put the map&apos;s centre there</source>
        <translation>Wählen Sie in der Liste das eine Bild, dessen Ort Sie kennen, und legen Sie die Kartenmitte dorthin</translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the list, and put the map&apos;s centre where it was taken.</source>
        <translation>Wählen Sie in der Liste das eine Bild, dessen Ort Sie kennen, und legen Sie die Kartenmitte dorthin, wo es aufgenommen wurde.</translation>
    </message>
    <message>
        <source>Clock correction %1.</source>
        <translation>Uhrkorrektur %1.</translation>
    </message>
</context>
<context>
    <name>TripMap</name>
    <message>
        <source>Map of the trip</source>
        <translation>Karte der Reise</translation>
    </message>
    <message>
        <source>&amp;Place selected pictures here</source>
        <translation>Ausgewählte Bilder &amp;hier platzieren</translation>
    </message>
    <message>
        <source>&amp;Copy coordinates</source>
        <translation>Koordinaten &amp;kopieren</translation>
    </message>
</context>
</TS>
