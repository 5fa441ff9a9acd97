<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>BoundedDownload</name>
    <message>
        <source>the answer was larger than %1 MiB</source>
        <translation>la réponse dépassait %1 Mio</translation>
    </message>
    <message>
        <source>no full answer came within %1 s</source>
        <translation>aucune réponse complète n&apos;est arrivée en %1 s</translation>
    </message>
</context>
<context>
    <name>FindPlaceBox</name>
    <message>
        <source>Find a place</source>
        <translation>Trouver un lieu</translation>
    </message>
    <message>
        <source>Place to find</source>
        <translation>Lieu à trouver</translation>
    </message>
    <message>
        <source>City, address or coordinates; Enter searches online</source>
        <translation>Ville, adresse ou coordonnées ; Entrée cherche en ligne</translation>
    </message>
    <message>
        <source>Places found</source>
        <translation>Lieux trouvés</translation>
    </message>
    <message>
        <source>Search state</source>
        <translation>État de la recherche</translation>
    </message>
    <message>
        <source>Coordinates</source>
        <translation>Coordonnées</translation>
    </message>
    <message>
        <source>No city of that name in the offline list. Press Enter to search OpenStreetMap.</source>
        <translation>Aucune ville de ce nom dans la liste hors ligne. Appuyez sur Entrée pour chercher dans OpenStreetMap.</translation>
    </message>
    <message>
        <source>No network: only the offline list of cities was searched.</source>
        <translation>Pas de réseau : seule la liste hors ligne des villes a été parcourue.</translation>
    </message>
    <message>
        <source>Searching OpenStreetMap… (Escape cancels)</source>
        <translation>Recherche dans OpenStreetMap… (Échap annule)</translation>
    </message>
    <message>
        <source>From OpenStreetMap:</source>
        <translation>Depuis OpenStreetMap :</translation>
    </message>
    <message>
        <source>OpenStreetMap found no such place.
</source>
        <translation>OpenStreetMap n&apos;a trouvé aucun lieu de ce nom.
</translation>
    </message>
    <message>
        <source>The OpenStreetMap search failed: %1</source>
        <translation>La recherche dans OpenStreetMap a échoué : %1</translation>
    </message>
    <message>
        <source>Search cancelled.</source>
        <translation>Recherche annulée.</translation>
    </message>
    <message>
        <source>Saved place</source>
        <translation>Lieu enregistré</translation>
    </message>
</context>
<context>
    <name>GpxReader</name>
    <message numerus="yes">
        <source>%n point(s) of %1 have a time that cannot be read; they are drawn but not matched.</source>
        <translation>
            <numerusform>%n point de %1 a une heure illisible ; il est dessiné mais pas associé.</numerusform>
            <numerusform>%n points de %1 ont une heure illisible ; ils sont dessinés mais pas associés.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LocationHistoryDialog</name>
    <message>
        <source>Open Location History</source>
        <translation>Ouvrir l&apos;historique des positions</translation>
    </message>
    <message>
        <source>Kartavo keeps the points of %1 on these days (UTC) and turns them into a track.</source>
        <translation>Kartavo garde les points de %1 de ces jours (UTC) et en fait une trace.</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Du :</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Au :</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>Points whose accuracy is said to be worse than this are left out</source>
        <translation>Les points dont la précision annoncée est moins bonne sont laissés de côté</translation>
    </message>
    <message>
        <source>&amp;Accurate to:</source>
        <translation>&amp;Précis à :</translation>
    </message>
    <message>
        <source>The last day is before the first.</source>
        <translation>Le dernier jour est avant le premier.</translation>
    </message>
</context>
<context>
    <name>MatchDialog</name>
    <message>
        <source>Match to Track</source>
        <translation>Associer à la trace</translation>
    </message>
    <message>
        <source>Camera&apos;s time zone</source>
        <translation>Fuseau horaire de l&apos;appareil</translation>
    </message>
    <message>
        <source>This computer&apos;s zone (%1)</source>
        <translation>Fuseau de cet ordinateur (%1)</translation>
    </message>
    <message>
        <source>Camera clock correction</source>
        <translation>Correction de l&apos;horloge de l&apos;appareil</translation>
    </message>
    <message>
        <source>Added to the camera&apos;s clock: +h:mm:ss when it was slow, -h:mm:ss when it was fast</source>
        <translation>Ajoutée à l&apos;horloge de l&apos;appareil : +h:mm:ss si elle retardait, -h:mm:ss si elle avançait</translation>
    </message>
    <message>
        <source>Largest gap</source>
        <translation>Plus grand écart</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Interpolate only between points at most this far apart in time, and take the nearest point only when it is at most this far off</source>
        <translation>N&apos;interpoler qu&apos;entre des points séparés au plus de cette durée, et ne prendre le point le plus proche que s&apos;il est au plus à cette distance dans le temps</translation>
    </message>
    <message>
        <source>Only the selected picture</source>
        <translation>Seulement l&apos;image sélectionnée</translation>
    </message>
    <message>
        <source>Only the %1 selected pictures</source>
        <translation>Seulement les %1 images sélectionnées</translation>
    </message>
    <message>
        <source>Only the selected pictures</source>
        <translation>Seulement les images sélectionnées</translation>
    </message>
    <message>
        <source>Camera&apos;s &amp;zone:</source>
        <translation>&amp;Fuseau de l&apos;appareil :</translation>
    </message>
    <message>
        <source>Clock &amp;correction:</source>
        <translation>&amp;Correction de l&apos;horloge :</translation>
    </message>
    <message>
        <source>&amp;Largest gap:</source>
        <translation>&amp;Plus grand écart :</translation>
    </message>
    <message>
        <source>&amp;Match</source>
        <translation>&amp;Associer</translation>
    </message>
    <message>
        <source>The clock correction is not a time such as +0:12:30 or -1:00:00.</source>
        <translation>La correction de l&apos;horloge n&apos;est pas une durée comme +0:12:30 ou -1:00:00.</translation>
    </message>
</context>
<context>
    <name>NominatimReverse</name>
    <message>
        <source>Place names by Nominatim, © OpenStreetMap contributors</source>
        <translation>Noms de lieux par Nominatim, © contributeurs d’OpenStreetMap</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>le serveur a répondu %1</translation>
    </message>
    <message>
        <source>the answer was not a place</source>
        <translation>la réponse n’était pas un lieu</translation>
    </message>
</context>
<context>
    <name>PictureList</name>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Taken</source>
        <translation>Prise le</translation>
    </message>
    <message>
        <source>Position now</source>
        <translation>Position actuelle</translation>
    </message>
    <message>
        <source>New position</source>
        <translation>Nouvelle position</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation> (de %1)</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>en attente</translation>
    </message>
    <message>
        <source>written</source>
        <translation>écrite</translation>
    </message>
    <message>
        <source>failed: %1; a sidecar can hold its position (Picture &gt; Write Positions Into)</source>
        <translation>échec : %1 ; un fichier annexe peut garder sa position (Image &gt; Écrire les positions dans)</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>échec : %1</translation>
    </message>
    <message>
        <source>unchanged; only a sidecar can hold its position (Picture &gt; Write Positions Into): %1</source>
        <translation>inchangée ; seul un fichier annexe peut garder sa position (Image &gt; Écrire les positions dans) : %1</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>inchangée</translation>
    </message>
    <message>
        <source>reading...</source>
        <translation>lecture...</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 image</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>City</source>
        <translation>Ville</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>Région</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Pays</translation>
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
        <translation>Proposé : %1</translation>
    </message>
    <message>
        <source>Proposed: %1; the picture holds %2</source>
        <translation>Proposé : %1 ; la photo contient %2</translation>
    </message>
</context>
<context>
    <name>PictureTable</name>
    <message>
        <source>Pictures</source>
        <translation>Images</translation>
    </message>
</context>
<context>
    <name>PicturesBatch</name>
    <message>
        <source>Reading</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>The pictures are busy; write again when they are done.</source>
        <translation>Les images sont occupées ; écrivez de nouveau quand elles auront fini.</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Écriture</translation>
    </message>
    <message>
        <source>Undo must wait until the pictures in hand are done</source>
        <translation>L&apos;annulation doit attendre que les images en cours soient terminées</translation>
    </message>
    <message>
        <source>There is no write to undo</source>
        <translation>Il n&apos;y a aucune écriture à annuler</translation>
    </message>
    <message>
        <source>Undoing</source>
        <translation>Annulation</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>not undone: %1</source>
        <translation>non annulée : %1</translation>
    </message>
    <message>
        <source>Reading stopped after %1.</source>
        <translation>Lecture arrêtée après %1.</translation>
    </message>
    <message>
        <source>GPS information recorded in %1</source>
        <translation>Données GPS enregistrées dans %1</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 en échec</translation>
    </message>
    <message>
        <source>Cancelled: %1 not written</source>
        <translation>Annulé : %1 non écrites</translation>
    </message>
    <message>
        <source>GPS information put back in %1</source>
        <translation>Données GPS rétablies dans %1</translation>
    </message>
    <message>
        <source>Not undone:</source>
        <translation>Non annulées :</translation>
    </message>
    <message>
        <source>Writing place names</source>
        <translation>Écriture des noms de lieux</translation>
    </message>
    <message>
        <source>Place names recorded in %1</source>
        <translation>Noms de lieux enregistrés dans %1</translation>
    </message>
</context>
<context>
    <name>PicturesTrack</name>
    <message>
        <source>Pictures with positions</source>
        <translation>Images avec positions</translation>
    </message>
</context>
<context>
    <name>PicturesWindow</name>
    <message>
        <source>Remove from list</source>
        <translation>Retirer de la liste</translation>
    </message>
    <message>
        <source>&amp;Use map position</source>
        <translation>&amp;Utiliser la position de la carte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>No pictures in %1</source>
        <translation>Aucune image dans %1</translation>
    </message>
    <message>
        <source>%1 listed from %2</source>
        <translation>%1 listées depuis %2</translation>
    </message>
    <message>
        <source>Looking for pictures in %1...</source>
        <translation>Recherche des images dans %1...</translation>
    </message>
    <message>
        <source>Select the pictures that should get the map&apos;s position first.</source>
        <translation>Sélectionnez d&apos;abord les images qui doivent recevoir la position de la carte.</translation>
    </message>
    <message>
        <source>map</source>
        <translation>carte</translation>
    </message>
    <message>
        <source>%1 will get %2, %3.</source>
        <translation>%1 recevra %2, %3.</translation>
    </message>
    <message>
        <source>%1: %2 done, %3 left</source>
        <translation>%1 : %2 faites, %3 restantes</translation>
    </message>
    <message>
        <source>, about %1 left</source>
        <translation>, encore environ %1</translation>
    </message>
    <message>
        <source>Write 1 change</source>
        <translation>Écrire 1 modification</translation>
    </message>
    <message>
        <source>Write %1 changes</source>
        <translation>Écrire %1 modifications</translation>
    </message>
    <message>
        <source>Kartavo - Pictures</source>
        <translation>Kartavo - Images</translation>
    </message>
    <message>
        <source>Give the selected pictures the position of the centre of the map (Ctrl+M)</source>
        <translation>Donner aux images sélectionnées la position du centre de la carte (Ctrl+M)</translation>
    </message>
    <message>
        <source>Write the waiting positions into the pictures (Ctrl+S)</source>
        <translation>Écrire les positions en attente dans les images (Ctrl+S)</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>moved on the map</source>
        <translation>déplacée sur la carte</translation>
    </message>
    <message>
        <source>placed on the map</source>
        <translation>placée sur la carte</translation>
    </message>
    <message>
        <source>The map is not ready yet.</source>
        <translation>La carte n&apos;est pas encore prête.</translation>
    </message>
    <message>
        <source>Select the pictures to place first.</source>
        <translation>Sélectionnez d&apos;abord les images à placer.</translation>
    </message>
    <message>
        <source>Kartavo</source>
        <translation>Kartavo</translation>
    </message>
    <message>
        <source>1 new position is waiting to be written.</source>
        <translation>1 nouvelle position attend d&apos;être écrite.</translation>
    </message>
    <message>
        <source>%1 new positions are waiting to be written.</source>
        <translation>%1 nouvelles positions attendent d&apos;être écrites.</translation>
    </message>
    <message>
        <source>Write them into the pictures now, discard them, or go back?</source>
        <translation>Les écrire maintenant dans les images, les abandonner, ou revenir ?</translation>
    </message>
    <message>
        <source>&amp;Write</source>
        <translation>&amp;Écrire</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Abandonner</translation>
    </message>
    <message>
        <source>discarded</source>
        <translation>abandonnée</translation>
    </message>
</context>
<context>
    <name>PlaceNamesWindow</name>
    <message>
        <source>Name the Places</source>
        <translation>Nommer les lieux</translation>
    </message>
    <message>
        <source>The names of the places of the listed pictures with a position are proposed in the trip window&apos;s City, Region, Country and Code columns. Edit them there (double-click or F2), then write them.</source>
        <translation>Les noms des lieux des photos listées ayant une position sont proposés dans les colonnes Ville, Région, Pays et Code de la fenêtre du voyage. Modifiez-les là (double-clic ou F2), puis écrivez-les.</translation>
    </message>
    <message>
        <source> km</source>
        <translation> km</translation>
    </message>
    <message>
        <source>Farther from the nearest city than this, the city is left empty</source>
        <translation>Plus loin de la ville la plus proche, la ville reste vide</translation>
    </message>
    <message>
        <source>&amp;Replace names the pictures already hold</source>
        <translation>&amp;Remplacer les noms que les photos contiennent déjà</translation>
    </message>
    <message>
        <source>Name a &amp;city within:</source>
        <translation>Nommer une &amp;ville à moins de :</translation>
    </message>
    <message>
        <source>Name &amp;Offline</source>
        <translation>Nommer &amp;hors ligne</translation>
    </message>
    <message>
        <source>&amp;Look Up Online</source>
        <translation>&amp;Chercher en ligne</translation>
    </message>
    <message>
        <source>&amp;Write Names</source>
        <translation>&amp;Écrire les noms</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Asks OpenStreetMap&apos;s Nominatim, one picture a second</source>
        <translation>Interroge Nominatim d’OpenStreetMap, une photo par seconde</translation>
    </message>
    <message>
        <source>Looking up online stopped: %1</source>
        <translation>Recherche en ligne arrêtée : %1</translation>
    </message>
    <message>
        <source>Looking up online cancelled; %1 named.</source>
        <translation>Recherche en ligne annulée ; %1 nommées.</translation>
    </message>
    <message>
        <source>Looking up online stopped</source>
        <translation>Recherche en ligne arrêtée</translation>
    </message>
    <message>
        <source>%1 named online.</source>
        <translation>%1 nommées en ligne.</translation>
    </message>
    <message>
        <source>No listed picture has a position yet: give them one first.</source>
        <translation>Aucune photo listée n’a encore de position : donnez-leur-en une d’abord.</translation>
    </message>
    <message>
        <source>%1 of %2 with a position named from the offline list of cities; the others are at sea or far from any city.</source>
        <translation>%1 sur %2 ayant une position nommées d’après la liste hors ligne des villes ; les autres sont en mer ou loin de toute ville.</translation>
    </message>
    <message>
        <source>Looking up %1 online...</source>
        <translation>Recherche en ligne de %1...</translation>
    </message>
    <message>
        <source>No names are proposed: name the places first.</source>
        <translation>Aucun nom proposé : nommez d’abord les lieux.</translation>
    </message>
</context>
<context>
    <name>PlacesDialog</name>
    <message>
        <source>Places</source>
        <translation>Lieux</translation>
    </message>
    <message>
        <source>Saved places</source>
        <translation>Lieux enregistrés</translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation>&amp;Aller à</translation>
    </message>
    <message>
        <source>&amp;Rename...</source>
        <translation>&amp;Renommer...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Rename Place</source>
        <translation>Renommer le lieu</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open Pictures</source>
        <translation>Ouvrir des images</translation>
    </message>
    <message>
        <source>Open Folder and Sub-folders</source>
        <translation>Ouvrir un dossier et ses sous-dossiers</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir un dossier</translation>
    </message>
    <message>
        <source>Open P&amp;ictures...</source>
        <translation>Ouvrir des ima&amp;ges...</translation>
    </message>
    <message>
        <source>Open &amp;Folder...</source>
        <translation>Ouvrir un &amp;dossier...</translation>
    </message>
    <message>
        <source>Open Folder and &amp;Sub-folders...</source>
        <translation>Ouvrir un dossier et ses &amp;sous-dossiers...</translation>
    </message>
    <message>
        <source>&amp;Undo Last Write</source>
        <translation>&amp;Annuler la dernière écriture</translation>
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
        <translation>&amp;Ouvrir une trace...</translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation>Ouvrir une trace</translation>
    </message>
    <message>
        <source>&amp;Tracks Window</source>
        <translation>&amp;Fenêtre des traces</translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation>&amp;Associer à la trace...</translation>
    </message>
    <message>
        <source>Set &amp;Clock from This Picture</source>
        <translation>Régler l&apos;&amp;horloge sur cette image</translation>
    </message>
    <message>
        <source>no times</source>
        <translation>pas d&apos;heures</translation>
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
        <translation>Ajoute une position géographique aux photographies.</translation>
    </message>
    <message>
        <source>Licence: GNU General Public License, version 3 or later. Kartavo comes with absolutely no warranty.</source>
        <translation>Licence : GNU General Public License, version 3 ou ultérieure. Kartavo est fourni sans aucune garantie.</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Remerciements</translation>
    </message>
    <message>
        <source>Map data © OpenStreetMap contributors, available under the Open Database License (ODbL): %1</source>
        <translation>Données cartographiques © les contributeurs d&apos;OpenStreetMap, disponibles sous la licence Open Database License (ODbL) : %1</translation>
    </message>
    <message>
        <source>The map is drawn with Leaflet, © Vladimir Agafonkin and CloudMade, under the BSD 2-Clause License: %1</source>
        <translation>La carte est dessinée avec Leaflet, © Vladimir Agafonkin et CloudMade, sous la licence BSD à 2 clauses : %1</translation>
    </message>
    <message>
        <source>Exif data is read and written with ExifTool by Phil Harvey: %1</source>
        <translation>Les données Exif sont lues et écrites avec ExifTool de Phil Harvey : %1</translation>
    </message>
    <message>
        <source>The offline city list is GeoNames&apos; (CC BY 4.0), through libgeonames: %1</source>
        <translation>La liste hors ligne des villes est celle de GeoNames (CC BY 4.0), via libgeonames : %1</translation>
    </message>
    <message>
        <source>Place search uses Nominatim under the OpenStreetMap Foundation&apos;s usage policy: a search only when you press Enter, at most one a second, and its results shown with their attribution: %1</source>
        <translation>La recherche de lieux utilise Nominatim selon la politique d&apos;utilisation de la Fondation OpenStreetMap : une recherche seulement quand vous appuyez sur Entrée, au plus une par seconde, et ses résultats affichés avec leur attribution : %1</translation>
    </message>
    <message>
        <source>Built with Qt %1.</source>
        <translation>Construit avec Qt %1.</translation>
    </message>
    <message>
        <source>About Kartavo</source>
        <translation>À propos de Kartavo</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Raccourcis clavier</translation>
    </message>
    <message>
        <source>&amp;About Kartavo</source>
        <translation>&amp;À propos de Kartavo</translation>
    </message>
    <message>
        <source>Unnamed command</source>
        <translation>Commande sans nom</translation>
    </message>
    <message>
        <source>%1 &gt; %2</source>
        <translation>%1 &gt; %2</translation>
    </message>
    <message>
        <source>Menus</source>
        <translation>Menus</translation>
    </message>
    <message>
        <source>%1 menu</source>
        <translation>Menu %1</translation>
    </message>
    <message>
        <source>Main window</source>
        <translation>Fenêtre principale</translation>
    </message>
    <message>
        <source>Kartavo - Keyboard Shortcuts</source>
        <translation>Kartavo - Raccourcis clavier</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Touches</translation>
    </message>
    <message>
        <source>  Latitude</source>
        <translation>  Latitude</translation>
    </message>
    <message>
        <source>  Longitude</source>
        <translation>  Longitude</translation>
    </message>
    <message>
        <source>     Zoom</source>
        <translation>     Zoom</translation>
    </message>
    <message>
        <source>Move to point</source>
        <translation>Aller au point</translation>
    </message>
    <message>
        <source>Record to picture</source>
        <translation>Écrire dans l&apos;image</translation>
    </message>
    <message>
        <source>  Date,Time</source>
        <translation>  Date,Heure</translation>
    </message>
    <message>
        <source>The &amp;Picture Itself</source>
        <translation>L&apos;&amp;image elle-même</translation>
    </message>
    <message>
        <source>An &amp;XMP Sidecar Beside It</source>
        <translation>Un fichier annexe &amp;XMP à côté</translation>
    </message>
    <message>
        <source>The Picture, a Sidecar for &amp;RAW Files</source>
        <translation>L&apos;image, un fichier annexe pour les fichiers &amp;RAW</translation>
    </message>
    <message>
        <source>Sidecar Named NAME.xmp</source>
        <translation>Fichier annexe nommé NOM.xmp</translation>
    </message>
    <message>
        <source>Sidecar Named NAME.EXT.xmp</source>
        <translation>Fichier annexe nommé NOM.EXT.xmp</translation>
    </message>
    <message>
        <source>&amp;Picture</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>&amp;Write Positions Into</source>
        <translation>Écrire les &amp;positions dans</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Open Picture</source>
        <translation>&amp;Ouvrir l&apos;image</translation>
    </message>
    <message>
        <source>&amp;Record GPS to Picture</source>
        <translation>&amp;Enregistrer le GPS dans l&apos;image</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Images (%1)</translation>
    </message>
    <message>
        <source>Places</source>
        <translation>Lieux</translation>
    </message>
    <message>
        <source>The places could not be saved: the settings file cannot be written.</source>
        <translation>Les lieux n&apos;ont pas pu être enregistrés : le fichier de réglages ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>Save This Place</source>
        <translation>Enregistrer ce lieu</translation>
    </message>
    <message>
        <source>The map shows no position to save.</source>
        <translation>La carte n&apos;affiche aucune position à enregistrer.</translation>
    </message>
    <message>
        <source>Name for this place:</source>
        <translation>Nom de ce lieu :</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Carte</translation>
    </message>
    <message>
        <source>&amp;Find Place...</source>
        <translation>&amp;Trouver un lieu...</translation>
    </message>
    <message>
        <source>&amp;Save This Place...</source>
        <translation>&amp;Enregistrer ce lieu...</translation>
    </message>
    <message>
        <source>&amp;Places...</source>
        <translation>&amp;Lieux...</translation>
    </message>
    <message>
        <source>&amp;Track</source>
        <translation>&amp;Trace</translation>
    </message>
    <message>
        <source>Pictures Wi&amp;ndow</source>
        <translation>&amp;Fenêtre des images</translation>
    </message>
    <message>
        <source>Use &amp;Map Position</source>
        <translation>Utiliser la position de la &amp;carte</translation>
    </message>
    <message>
        <source>Write Waiting &amp;Positions</source>
        <translation>Écrire les positions en a&amp;ttente</translation>
    </message>
    <message>
        <source>Open Location History</source>
        <translation>Ouvrir l&apos;historique des positions</translation>
    </message>
    <message>
        <source>Location history (*.json *.JSON);;All files (*)</source>
        <translation>Historique des positions (*.json *.JSON);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>Lecture de %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>No points of %1 were kept: %2</source>
        <translation>Aucun point de %1 n&apos;a été gardé : %2</translation>
    </message>
    <message>
        <source>Opened %1: %2</source>
        <translation>%1 ouvert : %2</translation>
    </message>
    <message>
        <source>Open &amp;Location History...</source>
        <translation>Ouvrir l&apos;historique des posi&amp;tions...</translation>
    </message>
    <message>
        <source>Use &amp;Pictures with Positions as a Track</source>
        <translation>Utiliser les &amp;images avec position comme trace</translation>
    </message>
    <message>
        <source>Fewer than two listed pictures have a position and a time: open the phone&apos;s pictures with the others first.</source>
        <translation>Moins de deux images de la liste ont une position et une heure : ouvrez d&apos;abord les images du téléphone avec les autres.</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) with positions make a track.</source>
        <translation>
            <numerusform>%n image avec position fait une trace.</numerusform>
            <numerusform>%n images avec position font une trace.</numerusform>
        </translation>
    </message>
    <message>
        <source>These have no GPS time, so their own clock (in its zone, else %1) was used: %2.</source>
        <translation>Celles-ci n&apos;ont pas d&apos;heure GPS, leur propre horloge (dans son fuseau, sinon %1) a donc servi : %2.</translation>
    </message>
    <message>
        <source>1 new position waiting to be written</source>
        <translation>1 nouvelle position en attente d&apos;écriture</translation>
    </message>
    <message>
        <source>%1 new positions waiting to be written</source>
        <translation>%1 nouvelles positions en attente d&apos;écriture</translation>
    </message>
    <message>
        <source>1 track</source>
        <translation>1 trace</translation>
    </message>
    <message>
        <source>%1 tracks</source>
        <translation>%1 traces</translation>
    </message>
    <message>
        <source>it is far too large to be a trip</source>
        <translation>il est bien trop grand pour être un voyage</translation>
    </message>
    <message>
        <source>Kartavo</source>
        <translation>Kartavo</translation>
    </message>
    <message>
        <source>The trip kept when Kartavo last ended cannot be brought back: %1.</source>
        <translation>Le voyage gardé à la dernière fermeture de Kartavo ne peut pas être rétabli : %1.</translation>
    </message>
    <message>
        <source>It was set aside as %1.</source>
        <translation>Il a été mis de côté sous %1.</translation>
    </message>
    <message>
        <source>Kartavo ended without closing while a trip was open.</source>
        <translation>Kartavo s&apos;est arrêté sans se fermer alors qu&apos;un voyage était ouvert.</translation>
    </message>
    <message>
        <source>Bring it back? %1.</source>
        <translation>Le rétablir ? %1.</translation>
    </message>
    <message>
        <source>&amp;Bring Back</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Abandonner</translation>
    </message>
    <message>
        <source>Brought back: %1.</source>
        <translation>Rétabli : %1.</translation>
    </message>
    <message>
        <source>%1 of the waiting positions belong to pictures that are gone.</source>
        <translation>%1 des positions en attente appartiennent à des images disparues.</translation>
    </message>
    <message>
        <source>Tracks no longer there: %1.</source>
        <translation>Traces disparues : %1.</translation>
    </message>
    <message>
        <source>GPS tracks (*.gpx *.GPX *.kml *.KML %1);;GPX and KML (*.gpx *.GPX *.kml *.KML);;Other formats, read with gpsbabel (%1);;All files (*)</source>
        <translation>Traces GPS (*.gpx *.GPX *.kml *.KML %1);;GPX et KML (*.gpx *.GPX *.kml *.KML);;Autres formats, lus avec gpsbabel (%1);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Undo Last Write</source>
        <translation>Annuler la dernière écriture</translation>
    </message>
    <message>
        <source>What the undo did</source>
        <translation>Ce que l&apos;annulation a fait</translation>
    </message>
    <message>
        <source>Name the Pl&amp;aces...</source>
        <translation>Nommer les &amp;lieux...</translation>
    </message>
</context>
<context>
    <name>TileProblem</name>
    <message>
        <source>the server answered %1 %2</source>
        <translation>le serveur a répondu %1 %2</translation>
    </message>
    <message>
        <source>Map tiles cannot be loaded from %1: %2. Tiles seen before still show.</source>
        <translation>Les tuiles de la carte ne peuvent pas être chargées depuis %1 : %2. Les tuiles déjà vues restent affichées.</translation>
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
        <translation>%1 jours %2 h</translation>
    </message>
</context>
<context>
    <name>Timeline</name>
    <message>
        <source>%1 d</source>
        <translation>%1 j</translation>
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
        <translation>Frise chronologique</translation>
    </message>
    <message>
        <source>Pictures by their corrected time over the tracks&apos; times. Left and Right move the pictures by a minute (with Shift a second, with Ctrl an hour); Enter sets the clock correction, Esc puts them back.</source>
        <translation>Les images selon leur heure corrigée, au-dessus des heures des traces. Gauche et Droite déplacent les images d&apos;une minute (avec Maj une seconde, avec Ctrl une heure) ; Entrée règle la correction de l&apos;horloge, Échap les remet en place.</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>A&amp;ppliquer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The pictures&apos; and tracks&apos; times show here.</source>
        <translation>Les heures des images et des traces s&apos;affichent ici.</translation>
    </message>
    <message>
        <source>Pictures moved %1: Enter or Apply sets the clock correction</source>
        <translation>Images déplacées de %1 : Entrée ou Appliquer règle la correction de l&apos;horloge</translation>
    </message>
    <message>
        <source>%1 outside the tracks&apos; times</source>
        <translation>%1 hors des heures des traces</translation>
    </message>
</context>
<context>
    <name>TracksWindow</name>
    <message>
        <source>Tracks</source>
        <translation>Traces</translation>
    </message>
    <message>
        <source>Track (shown)</source>
        <translation>Trace (affichée)</translation>
    </message>
    <message>
        <source>Time span</source>
        <translation>Période</translation>
    </message>
    <message>
        <source>Local time span</source>
        <translation>Période locale</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Longueur</translation>
    </message>
    <message>
        <source>In the zone of the track&apos;s own place, which matching starts with</source>
        <translation>Dans le fuseau du lieu de la trace, par lequel l&apos;association commence</translation>
    </message>
    <message>
        <source>&amp;Open Track...</source>
        <translation>&amp;Ouvrir une trace...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Match to Track...</source>
        <translation>&amp;Associer à la trace...</translation>
    </message>
    <message>
        <source>Set Clock from This &amp;Picture</source>
        <translation>Régler l&apos;horloge sur cette &amp;image</translation>
    </message>
    <message>
        <source>Open Track</source>
        <translation>Ouvrir une trace</translation>
    </message>
    <message>
        <source>Close the selected tracks</source>
        <translation>Fermer les traces sélectionnées</translation>
    </message>
    <message>
        <source>Already open: %1</source>
        <translation>Déjà ouverte : %1</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>Lecture de %1...</translation>
    </message>
    <message>
        <source>Reading %1 track files...</source>
        <translation>Lecture de %1 fichiers de trace...</translation>
    </message>
    <message>
        <source>%1, the zone of %2</source>
        <translation>%1, le fuseau de %2</translation>
    </message>
    <message>
        <source>%1 (%2 with a time)</source>
        <translation>%1 (%2 avec une heure)</translation>
    </message>
    <message>
        <source>Opened %1.</source>
        <translation>%1 ouverte.</translation>
    </message>
    <message>
        <source>%1 is the zone of %2, %3 from where %4 starts.</source>
        <translation>%1 est le fuseau de %2, à %3 du départ de %4.</translation>
    </message>
    <message>
        <source>No pictures to match: open them first (Picture &gt; Open Pictures...).</source>
        <translation>Aucune image à associer : ouvrez-les d&apos;abord (Image &gt; Ouvrir des images...).</translation>
    </message>
    <message>
        <source>No shown track has times to match with: open one (Track &gt; Open Track...).</source>
        <translation>Aucune trace affichée n&apos;a d&apos;heures pour associer : ouvrez-en une (Trace &gt; Ouvrir une trace...).</translation>
    </message>
    <message>
        <source>That picture gives no time taken.</source>
        <translation>Cette image ne donne pas d&apos;heure de prise de vue.</translation>
    </message>
    <message>
        <source>The map gives no place: %1</source>
        <translation>La carte ne donne aucun lieu : %1</translation>
    </message>
    <message>
        <source>No shown track has times: open one (Track &gt; Open Track...).</source>
        <translation>Aucune trace affichée n&apos;a d&apos;heures : ouvrez-en une (Trace &gt; Ouvrir une trace...).</translation>
    </message>
    <message>
        <source>The tracks come no nearer than %1 to the map&apos;s centre: put the map where the picture was taken.</source>
        <translation>Les traces ne passent pas à moins de %1 du centre de la carte : placez la carte là où l&apos;image a été prise.</translation>
    </message>
    <message>
        <source>The track passed %1 from the map&apos;s centre at %2 UTC: clock correction %3.</source>
        <translation>La trace est passée à %1 du centre de la carte à %2 UTC : correction de l&apos;horloge %3.</translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the list and put the map&apos;s centre there</source>
        <translation>Sélectionnez dans la liste l&apos;image dont vous connaissez le lieu, et placez le centre de la carte à cet endroit</translation>
    </message>
    <message>
        <source>Select the one picture whose place you know in the list, and put the map&apos;s centre where it was taken.</source>
        <translation>Sélectionnez dans la liste l&apos;image dont vous connaissez le lieu, et placez le centre de la carte là où elle a été prise.</translation>
    </message>
    <message>
        <source>Clock correction %1.</source>
        <translation>Correction de l&apos;horloge %1.</translation>
    </message>
</context>
<context>
    <name>TripMap</name>
    <message>
        <source>Map of the trip</source>
        <translation>Carte du voyage</translation>
    </message>
    <message>
        <source>&amp;Place selected pictures here</source>
        <translation>&amp;Placer ici les images sélectionnées</translation>
    </message>
    <message>
        <source>&amp;Copy coordinates</source>
        <translation>&amp;Copier les coordonnées</translation>
    </message>
</context>
</TS>
