<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>GpxReader</name>
    <message numerus="yes">
        <source>%n point(s) of %1 have a time that cannot be read; they are drawn but not matched.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MatchDialog</name>
    <message>
        <source>Match to Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera&apos;s time zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This computer&apos;s zone (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera clock correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added to the camera&apos;s clock: +h:mm:ss when it was slow, -h:mm:ss when it was fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest gap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interpolate only between points at most this far apart in time, and take the nearest point only when it is at most this far off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the selected picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the %1 selected pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the selected pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera&apos;s &amp;zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clock &amp;correction:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Largest gap:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clock correction is not a time such as +0:12:30 or -1:00:00.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureList</name>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed: %1; a sidecar can hold its position (Picture &gt; Write Positions Into)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unchanged; only a sidecar can hold its position (Picture &gt; Write Positions Into): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PicturesBatch</name>
    <message>
        <source>Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pictures are busy; write again when they are done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo must wait until the pictures in hand are done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no write to undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undoing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not undone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading stopped after %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS information recorded in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: %1 not written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS information put back in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not undone:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PicturesWindow</name>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use map position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the selected pictures the position of the Latitude and Longitude fields (Ctrl+M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No pictures in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 listed from %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking for pictures in %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the pictures that should get the map&apos;s position first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No new position given: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 will get %2, %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 done, %3 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, about %1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write 1 change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write %1 changes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder and Sub-folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open P&amp;ictures...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder and &amp;Sub-folders...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures &amp;Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo Last Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Track...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tracks Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set &amp;Clock from This Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS tracks (*.gpx *.GPX *.kml *.KML);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags photographs with a geographic position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Licence: GNU General Public License, version 3 or later. Kartavo comes with absolutely no warranty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Credits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map data © OpenStreetMap contributors, available under the Open Database License (ODbL): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The map is drawn with Leaflet, © Vladimir Agafonkin and CloudMade, under the BSD 2-Clause License: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exif data is read and written with ExifTool by Phil Harvey: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The offline city list is GeoNames&apos; (CC BY 4.0), through libgeonames: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place search uses Nominatim under the OpenStreetMap Foundation&apos;s usage policy: a search only when you press Enter, at most one a second, and its results shown with their attribution: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Built with Qt %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Kartavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Kartavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unnamed command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 &gt; %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kartavo - Keyboard Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TracksWindow</name>
    <message>
        <source>Tracks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track (shown)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time span</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local time span</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the zone of the track&apos;s own place, which matching starts with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Track...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Clock from This &amp;Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the Pictures window and put the map there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the selected tracks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Already open: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading %1 track files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, the zone of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 with a time)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opened %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the zone of %2, %3 from where %4 starts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No pictures to match: open them first (Picture &gt; Open Pictures...).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No shown track has times to match with: open one (Track &gt; Open Track...).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the Pictures window, and put the map where it was taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>That picture gives no time taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The map gives no place: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No shown track has times: open one (Track &gt; Open Track...).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tracks come no nearer than %1 to the map&apos;s centre: put the map where the picture was taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The track passed %1 from the map&apos;s centre at %2 UTC: clock correction %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
