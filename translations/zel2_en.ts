<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>LanguagePass</name>
    <message>
        <source>NAVTEX</source>
        <translation>NAVTEX</translation>
    </message>
    <message>
        <source>BAROGRAPHE</source>
        <translation>BAROGRAPH</translation>
    </message>
    <message>
        <source>AIDE</source>
        <translation>HELP</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ouvrir...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>&amp;Enregistrer...</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>&amp;Imprimer...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Réglages</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Ouvrir arborescence</source>
        <translation>&amp;Expand tree</translation>
    </message>
    <message>
        <source>&amp;Fermer arborescence</source>
        <translation>&amp;Collapse tree</translation>
    </message>
    <message>
        <source>Zoom avant</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Zoom arriére</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Manuel</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>&amp;Information système...</source>
        <translation>&amp;System information...</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Configuration...</translation>
    </message>
    <message>
        <source>Pression[hPa]</source>
        <translation>Pressure[hPa]</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Ouvrir arborescence</source>
        <translation>Expand tree</translation>
    </message>
    <message>
        <source>Reduire arborescence</source>
        <translation>Collapse tree</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Information système...</source>
        <translation>System information...</translation>
    </message>
</context>
<context>
    <name>TAlertNotice</name>
    <message>
        <source>Alertes</source>
        <translation>Alerts</translation>
    </message>
    <message>
        <source>Messages et avis qui demandent l’attention de l’équipage :</source>
        <translation>Messages and warnings that need the crew&apos;s attention:</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Sujet</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Acquitter</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>Ces alertes ne seront plus signalées, ni ici ni sur le réseau du bord</source>
        <translation>These alerts will not be raised again, neither here nor on the boat&apos;s network</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TBoatPosition</name>
    <message>
        <source>Aucune source de position.</source>
        <translation>No position source.</translation>
    </message>
    <message>
        <source>Position fixe.</source>
        <translation>Fixed position.</translation>
    </message>
    <message>
        <source>Le port UDP %1 ne peut pas être ouvert (%2).</source>
        <translation>UDP port %1 cannot be opened (%2).</translation>
    </message>
    <message>
        <source>À l’écoute sur le port UDP %1, en attente de phrases NMEA.</source>
        <translation>Listening on UDP port %1, waiting for NMEA sentences.</translation>
    </message>
    <message>
        <source>Adresse de la source incomplète (hôte:port).</source>
        <translation>Incomplete source address (host:port).</translation>
    </message>
    <message>
        <source>Interrogation du serveur Signal K %1:%2…</source>
        <translation>Asking Signal K server %1:%2…</translation>
    </message>
    <message>
        <source>Connecté à %1:%2, en attente d’une position.</source>
        <translation>Connected to %1:%2, waiting for a position.</translation>
    </message>
    <message>
        <source>%1:%2 ne répond pas (%3).</source>
        <translation>%1:%2 does not answer (%3).</translation>
    </message>
    <message>
        <source>%1:%2 a fermé la connexion.</source>
        <translation>%1:%2 closed the connection.</translation>
    </message>
    <message>
        <source>Connexion à %1:%2…</source>
        <translation>Connecting to %1:%2…</translation>
    </message>
    <message>
        <source>Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3.</source>
        <translation>Enter the serial port, for example /dev/ttyUSB0 or COM3.</translation>
    </message>
    <message>
        <source>Le port série %1 n’existe pas (récepteur débranché ?).</source>
        <translation>Serial port %1 does not exist (receiver unplugged?).</translation>
    </message>
    <message>
        <source>Le port série %1 est occupé par un autre programme.</source>
        <translation>Serial port %1 is in use by another program.</translation>
    </message>
    <message>
        <source>Le port série %1 ne peut pas être ouvert (%2).</source>
        <translation>Serial port %1 cannot be opened (%2).</translation>
    </message>
    <message>
        <source>Port série %1 ouvert à %2 bauds, en attente de phrases NMEA.</source>
        <translation>Serial port %1 open at %2 baud, waiting for NMEA sentences.</translation>
    </message>
    <message>
        <source>Le port série %1 ne répond plus (%2).</source>
        <translation>Serial port %1 no longer answers (%2).</translation>
    </message>
    <message>
        <source>Port série %1 à %2 bauds : phrases NMEA reçues.</source>
        <translation>Serial port %1 at %2 baud: NMEA sentences received.</translation>
    </message>
    <message>
        <source> Nouvel essai dans %1 s.</source>
        <translation> Trying again in %1 s.</translation>
    </message>
    <message>
        <source>Position reçue.</source>
        <translation>Position received.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 demande une autorisation : cliquez « Demander l’accès ».</source>
        <translation>Signal K server %1 asks for authorisation: click “Request access”.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 refuse le jeton enregistré : cliquez « Demander l’accès » à nouveau.</source>
        <translation>Signal K server %1 refuses the saved token: click “Request access” again.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 n’a pas de position du bateau.</source>
        <translation>Signal K server %1 has no position of the boat.</translation>
    </message>
    <message>
        <source>Connecté au serveur Signal K %1, en attente d’une position.</source>
        <translation>Connected to Signal K server %1, waiting for a position.</translation>
    </message>
    <message>
        <source>Connecté au serveur Signal K %1.</source>
        <translation>Connected to Signal K server %1.</translation>
    </message>
    <message>
        <source>Signal K</source>
        <translation>Signal K</translation>
    </message>
    <message>
        <source>GPS (port série)</source>
        <translation>GPS (serial port)</translation>
    </message>
    <message>
        <source>position fixe</source>
        <translation>fixed position</translation>
    </message>
    <message>
        <source>Position : en attente · %1</source>
        <translation>Position: waiting · %1</translation>
    </message>
    <message>
        <source>Position : %1 · %2</source>
        <translation>Position: %1 · %2</translation>
    </message>
    <message>
        <source>il y a %1 s</source>
        <translation>%1 s ago</translation>
    </message>
    <message>
        <source>il y a %1 min</source>
        <translation>%1 min ago</translation>
    </message>
    <message>
        <source>il y a %1 h</source>
        <translation>%1 h ago</translation>
    </message>
    <message>
        <source>Position perdue : %1 · %2 · %3</source>
        <translation>Position lost: %1 · %2 · %3</translation>
    </message>
    <message>
        <source>Position : %1 · %2 · %3</source>
        <translation>Position: %1 · %2 · %3</translation>
    </message>
</context>
<context>
    <name>TConfigurationDlg</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Correction barométre altitude</source>
        <translation>Barometer altitude correction</translation>
    </message>
    <message>
        <source>Barométre altitude [m]</source>
        <translation>Barometer altitude [m]</translation>
    </message>
    <message>
        <source>Dernier message afficher automatiquement</source>
        <translation>Show the last message automatically</translation>
    </message>
    <message>
        <source>Sauvegarder</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>THistoryPanel</name>
    <message>
        <source>date inconnue</source>
        <translation>unknown date</translation>
    </message>
    <message>
        <source>Aucun message trouvé</source>
        <translation>No message found</translation>
    </message>
    <message>
        <source>1 message trouvé</source>
        <translation>1 message found</translation>
    </message>
    <message>
        <source>%1 messages trouvés</source>
        <translation>%1 messages found</translation>
    </message>
    <message>
        <source>, les %1 plus récents affichés</source>
        <translation>, the %1 most recent shown</translation>
    </message>
    <message>
        <source>Rechercher</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Fréquence</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>518 et 490 kHz</source>
        <translation>518 and 490 kHz</translation>
    </message>
    <message>
        <source>Période de réception</source>
        <translation>Reception period</translation>
    </message>
    <message>
        <source>Tout l’historique</source>
        <translation>Whole history</translation>
    </message>
    <message>
        <source>Dernières 24 heures</source>
        <translation>Last 24 hours</translation>
    </message>
    <message>
        <source>3 derniers jours</source>
        <translation>Last 3 days</translation>
    </message>
    <message>
        <source>7 derniers jours</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>Station émettrice (B1)</source>
        <translation>Transmitting station (B1)</translation>
    </message>
    <message>
        <source>Toutes les stations</source>
        <translation>All stations</translation>
    </message>
    <message>
        <source>Station %1</source>
        <translation>Station %1</translation>
    </message>
    <message>
        <source>Sujet du message (B2)</source>
        <translation>Message subject (B2)</translation>
    </message>
    <message>
        <source>Tous les sujets</source>
        <translation>All subjects</translation>
    </message>
    <message>
        <source>En vigueur seulement</source>
        <translation>In force only</translation>
    </message>
    <message>
        <source>Ne montrer que les messages encore en vigueur : ni annulés, ni expirés, ni remplacés, ni absents de la dernière liste des avertissements en vigueur</source>
        <translation>Show only messages still in force: not cancelled, expired, superseded or missing from the latest list of warnings in force</translation>
    </message>
    <message>
        <source>À moins de 50 nm du bateau</source>
        <translation>Within 50 nm of the boat</translation>
    </message>
    <message>
        <source>Ne montrer que les avertissements en vigueur dont une position est à moins de cette distance du bateau (sans position du bateau, tous)</source>
        <translation>Show only warnings in force with a position within this distance of the boat (without a boat position, all)</translation>
    </message>
    <message>
        <source>L’historique des messages était endommagé. Il a été mis de côté sous le nom « %1 » et un nouvel historique est fait à partir des messages de l’archive et de ceux qui ont pu y être relus.</source>
        <translation>The message history was damaged. It was set aside as “%1” and a new history is made from the archive&apos;s messages and those that could be read back from it.</translation>
    </message>
    <message>
        <source> L’historique est conservé tel quel et le programme réessaie toutes les 30 secondes. Les détails sont dans le journal (%1).</source>
        <translation> The history is kept as it is and the program tries again every 30 seconds. The details are in the log (%1).</translation>
    </message>
    <message>
        <source>Le disque est plein : les nouveaux messages ne peuvent pas être enregistrés dans l’historique.</source>
        <translation>The disk is full: new messages cannot be saved in the history.</translation>
    </message>
    <message>
        <source>Une erreur d’entrée-sortie du disque empêche d’enregistrer l’historique des messages.</source>
        <translation>A disk input/output error prevents saving the message history.</translation>
    </message>
    <message>
        <source>Le fichier de l’historique des messages ne peut pas être écrit (droits d’accès ou lecture seule).</source>
        <translation>The message history file cannot be written (access rights or read-only).</translation>
    </message>
    <message>
        <source>L’historique des messages a été créé par une version plus récente du programme. Il est laissé tel quel : la recherche le consulte sans y écrire.</source>
        <translation>The message history was created by a newer version of the program. It is left as it is: searches read it without writing to it.</translation>
    </message>
    <message>
        <source>Les nouveaux messages ne peuvent pas être enregistrés dans l’historique.</source>
        <translation>New messages cannot be saved in the history.</translation>
    </message>
    <message>
        <source>Historique des messages</source>
        <translation>Message history</translation>
    </message>
    <message>
        <source>L’historique se prépare…</source>
        <translation>Preparing the history…</translation>
    </message>
    <message>
        <source>La recherche a échoué</source>
        <translation>The search failed</translation>
    </message>
    <message>
        <source>
reçu le </source>
        <translation>
received on </translation>
    </message>
    <message>
        <source>À moins de %1 nm du bateau</source>
        <translation>Within %1 nm of the boat</translation>
    </message>
    <message>
        <source> · historique</source>
        <translation> · history</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Copier les positions</source>
        <translation>Copy the positions</translation>
    </message>
    <message>
        <source>Exporter les avertissements…</source>
        <translation>Export the warnings…</translation>
    </message>
    <message>
        <source>Réseau du bord et alarmes…</source>
        <translation>Boat&apos;s network and alarms…</translation>
    </message>
    <message>
        <source>&amp;Langue</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>La langue choisie s’applique au prochain démarrage du programme.</source>
        <translation>The chosen language applies at the next start of the program.</translation>
    </message>
    <message>
        <source>Couleurs de %1	F12</source>
        <translation>%1 colours	F12</translation>
    </message>
    <message>
        <source>Jour, crépuscule, nuit : maintenant %1</source>
        <translation>Day, dusk, night: now %1</translation>
    </message>
    <message>
        <source>NMEA : 1 client</source>
        <translation>NMEA: 1 client</translation>
    </message>
    <message>
        <source>NMEA : %1 clients</source>
        <translation>NMEA: %1 clients</translation>
    </message>
    <message>
        <source>Baromètre</source>
        <translation>Barometer</translation>
    </message>
    <message>
        <source>Avis de tempête</source>
        <translation>Storm warning</translation>
    </message>
    <message>
        <source>CARTE</source>
        <translation>MAP</translation>
    </message>
    <message>
        <source>Exporter les avertissements vers</source>
        <translation>Export the warnings to</translation>
    </message>
    <message>
        <source>Les avertissements n’ont pas pu être écrits dans %1.</source>
        <translation>The warnings could not be written to %1.</translation>
    </message>
</context>
<context>
    <name>TMapPage</name>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Sujet</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>Reçu (heure locale)</source>
        <translation>Received (local time)</translation>
    </message>
    <message>
        <source>Reçu (UTC)</source>
        <translation>Received (UTC)</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Première ligne</source>
        <translation>First line</translation>
    </message>
    <message>
        <source>Tous les sujets</source>
        <translation>All subjects</translation>
    </message>
    <message>
        <source>Toutes les stations</source>
        <translation>All stations</translation>
    </message>
    <message>
        <source>Montrer les avertissements terminés (en gris)</source>
        <translation>Show ended warnings (in grey)</translation>
    </message>
    <message>
        <source>Toute la zone</source>
        <translation>Whole area</translation>
    </message>
    <message>
        <source>Montrer tous les avertissements en vigueur et le bateau</source>
        <translation>Show every warning in force and the boat</translation>
    </message>
    <message>
        <source>Voir dans la page NAVTEX</source>
        <translation>Show on the NAVTEX page</translation>
    </message>
    <message>
        <source>À moins de %1 nm du bateau</source>
        <translation>Within %1 nm of the boat</translation>
    </message>
    <message>
        <source>station %1</source>
        <translation>station %1</translation>
    </message>
    <message>
        <source>%1 nm · %2°</source>
        <translation>%1 nm · %2°</translation>
    </message>
    <message>
        <source>1 avertissement en vigueur</source>
        <translation>1 warning in force</translation>
    </message>
    <message>
        <source>%1 avertissements en vigueur</source>
        <translation>%1 warnings in force</translation>
    </message>
    <message>
        <source>en vigueur</source>
        <translation>in force</translation>
    </message>
    <message>
        <source>Avertissements NAVTEX en vigueur – %1</source>
        <translation>NAVTEX warnings in force – %1</translation>
    </message>
    <message>
        <source>dd/MM/yyyy HH:mm</source>
        <translation>dd/MM/yyyy HH:mm</translation>
    </message>
</context>
<context>
    <name>TMapView</name>
    <message>
        <source> nm</source>
        <translation> nm</translation>
    </message>
    <message>
        <source>Avertissements de navigation</source>
        <translation>Navigational warnings</translation>
    </message>
    <message>
        <source>Avis de coup de vent</source>
        <translation>Gale warnings</translation>
    </message>
    <message>
        <source>Recherche et sauvetage</source>
        <translation>Search and rescue</translation>
    </message>
    <message>
        <source>Glaces</source>
        <translation>Ice</translation>
    </message>
    <message>
        <source>Autres messages</source>
        <translation>Other messages</translation>
    </message>
    <message>
        <source>Terminés (annulés, expirés)</source>
        <translation>Ended (cancelled, expired)</translation>
    </message>
    <message>
        <source>Bateau et distance d’alerte</source>
        <translation>Boat and alert distance</translation>
    </message>
    <message>
        <source>%1 · %2
reçu %3
%4</source>
        <translation>%1 · %2
received %3
%4</translation>
    </message>
</context>
<context>
    <name>TNetworkDlg</name>
    <message>
        <source>Réseau du bord et alarmes</source>
        <translation>Boat&apos;s network and alarms</translation>
    </message>
    <message>
        <source>Sortie NMEA 0183 activée</source>
        <translation>NMEA 0183 output on</translation>
    </message>
    <message>
        <source>Écouter sur tous les réseaux</source>
        <translation>Listen on every network</translation>
    </message>
    <message>
        <source>hôte:port</source>
        <translation>host:port</translation>
    </message>
    <message>
        <source>aucun (pas d’export)</source>
        <translation>none (no export)</translation>
    </message>
    <message>
        <source>Après chaque transfert, les avertissements en vigueur qui donnent des positions y sont écrits en GPX et en GeoJSON (navtex-warnings.gpx, navtex-warnings.geojson).</source>
        <translation>After each transfer, the warnings in force that give positions are written there as GPX and GeoJSON (navtex-warnings.gpx, navtex-warnings.geojson).</translation>
    </message>
    <message>
        <source>Parcourir…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Dossier des avertissements</source>
        <translation>Warnings folder</translation>
    </message>
    <message>
        <source>Calques d’OpenCPN</source>
        <translation>OpenCPN layers</translation>
    </message>
    <message>
        <source>Aucune</source>
        <translation>None</translation>
    </message>
    <message>
        <source>NMEA 0183 en UDP (multiplexeur)</source>
        <translation>NMEA 0183 over UDP (multiplexer)</translation>
    </message>
    <message>
        <source>NMEA 0183 par TCP</source>
        <translation>NMEA 0183 over TCP</translation>
    </message>
    <message>
        <source>Serveur Signal K</source>
        <translation>Signal K server</translation>
    </message>
    <message>
        <source>GPS sur port série (USB)</source>
        <translation>GPS on a serial port (USB)</translation>
    </message>
    <message>
        <source>Position fixe (port, mouillage)</source>
        <translation>Fixed position (harbour, anchorage)</translation>
    </message>
    <message>
        <source>Demander l’accès</source>
        <translation>Request access</translation>
    </message>
    <message>
        <source>Pour un serveur Signal K dont la sécurité est active : la demande s’approuve dans son administration, le jeton reçu est gardé.</source>
        <translation>For a Signal K server with its security on: the request is approved in its administration, the token received is kept.</translation>
    </message>
    <message>
        <source>Indiquez la source sous la forme hôte:port.</source>
        <translation>Enter the source as host:port.</translation>
    </message>
    <message>
        <source>Latitude et longitude en degrés décimaux, nord et est positifs</source>
        <translation>Latitude and longitude in decimal degrees, north and east positive</translation>
    </message>
    <message>
        <source>Un avertissement à moins de cette distance du bateau le concerne</source>
        <translation>A warning within this distance of the boat concerns it</translation>
    </message>
    <message>
        <source>Envoyer les alertes au serveur Signal K</source>
        <translation>Send the alerts to the Signal K server</translation>
    </message>
    <message>
        <source>Détresse, avis de coup de vent, avertissements près du bateau et avis de tempête deviennent des notifications du serveur (notifications.navtex.…), levées quand le message n’est plus en vigueur ou a été acquitté.</source>
        <translation>Distress, gale warnings, warnings near the boat and storm warnings become notifications of the server (notifications.navtex.…), cleared when the message is no longer in force or has been acknowledged.</translation>
    </message>
    <message>
        <source>Indiquez le serveur sous la forme hôte:port.</source>
        <translation>Enter the server as host:port.</translation>
    </message>
    <message>
        <source>Port TCP :</source>
        <translation>TCP port:</translation>
    </message>
    <message>
        <source>Destination UDP :</source>
        <translation>UDP destination:</translation>
    </message>
    <message>
        <source>Avis de tempête [hPa/3h] :</source>
        <translation>Storm warning [hPa/3h]:</translation>
    </message>
    <message>
        <source>État :</source>
        <translation>State:</translation>
    </message>
    <message>
        <source>Exporter les avertissements vers</source>
        <translation>Export the warnings to</translation>
    </message>
    <message>
        <source>Export :</source>
        <translation>Export:</translation>
    </message>
    <message>
        <source>Position du bateau :</source>
        <translation>Boat position:</translation>
    </message>
    <message>
        <source>Adresse de la source :</source>
        <translation>Source address:</translation>
    </message>
    <message>
        <source>Position fixe :</source>
        <translation>Fixed position:</translation>
    </message>
    <message>
        <source>Distance d’alerte [nm] :</source>
        <translation>Alert distance [nm]:</translation>
    </message>
    <message>
        <source>Position :</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>Serveur Signal K :</source>
        <translation>Signal K server:</translation>
    </message>
    <message>
        <source>Alertes :</source>
        <translation>Alerts:</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>aucun</source>
        <translation>none</translation>
    </message>
    <message>
        <source>port (10110)</source>
        <translation>port (10110)</translation>
    </message>
    <message>
        <source>« %1 » n’est pas un chemin complet : choisissez le dossier avec « Parcourir… ».</source>
        <translation>“%1” is not a full path: choose the folder with “Browse…”.</translation>
    </message>
    <message>
        <source>Indiquez un port UDP (1 à 65535), par exemple 10110.</source>
        <translation>Enter a UDP port (1 to 65535), for example 10110.</translation>
    </message>
    <message>
        <source>Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3 (suivi de « @4800 » ou « @38400 » pour imposer une vitesse).</source>
        <translation>Enter the serial port, for example /dev/ttyUSB0 or COM3 (followed by “@4800” or “@38400” to set a speed).</translation>
    </message>
    <message>
        <source>Indiquez la position en degrés décimaux, par exemple « 54.0683, 10.2050 ».</source>
        <translation>Enter the position in decimal degrees, for example “54.0683, 10.2050”.</translation>
    </message>
</context>
<context>
    <name>TNmeaOutput</name>
    <message>
        <source>Sortie arrêtée</source>
        <translation>Output stopped</translation>
    </message>
    <message>
        <source>Port %1 occupé : nouvel essai toutes les %2 secondes</source>
        <translation>Port %1 in use: trying again every %2 seconds</translation>
    </message>
    <message>
        <source>À l’écoute sur le port %1, </source>
        <translation>Listening on port %1, </translation>
    </message>
    <message>
        <source>aucun client connecté</source>
        <translation>no client connected</translation>
    </message>
    <message>
        <source>1 client connecté</source>
        <translation>1 client connected</translation>
    </message>
    <message>
        <source>%1 clients connectés</source>
        <translation>%1 clients connected</translation>
    </message>
    <message>
        <source> (%1 refusés : au plus %2 à la fois)</source>
        <translation> (%1 refused: at most %2 at a time)</translation>
    </message>
</context>
<context>
    <name>TSignalKAccess</name>
    <message>
        <source>Demande d’accès envoyée au serveur Signal K %1…</source>
        <translation>Access request sent to Signal K server %1…</translation>
    </message>
    <message>
        <source>Demande d’accès en attente : approuvez « %1 » dans l’administration du serveur Signal K %2 (Security › Access Requests).</source>
        <translation>Access request pending: approve “%1” in the administration of Signal K server %2 (Security › Access Requests).</translation>
    </message>
    <message>
        <source>Accès accordé par le serveur Signal K %1.</source>
        <translation>Access granted by Signal K server %1.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 a refusé l’accès.</source>
        <translation>Signal K server %1 refused access.</translation>
    </message>
    <message>
        <source>réponse %1</source>
        <translation>answer %1</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 n’a pas de sécurité à franchir : aucun accès n’est à demander.</source>
        <translation>Signal K server %1 has no security to pass: no access needs requesting.</translation>
    </message>
    <message>
        <source>La demande d’accès au serveur Signal K %1 a échoué (%2).</source>
        <translation>The access request to Signal K server %1 failed (%2).</translation>
    </message>
</context>
<context>
    <name>TSignalKNotifier</name>
    <message>
        <source>le serveur a fermé la connexion</source>
        <translation>the server closed the connection</translation>
    </message>
    <message>
        <source>Alertes Signal K : connexion à %1:%2…</source>
        <translation>Signal K alerts: connecting to %1:%2…</translation>
    </message>
    <message>
        <source>Alertes Signal K : serveur %1:%2 injoignable (%3), nouvel essai dans %4 s.</source>
        <translation>Signal K alerts: server %1:%2 unreachable (%3), trying again in %4 s.</translation>
    </message>
    <message>
        <source>Alertes Signal K : le serveur a refusé la connexion (réponse %1).</source>
        <translation>Signal K alerts: the server refused the connection (answer %1).</translation>
    </message>
    <message>
        <source>Alertes Signal K : connecté à %1:%2.</source>
        <translation>Signal K alerts: connected to %1:%2.</translation>
    </message>
    <message>
        <source>trame illisible</source>
        <translation>unreadable frame</translation>
    </message>
</context>
<context>
    <name>TStormAlarm</name>
    <message>
        <source>Avis de tempête %1 : %2 hPa en 3 h</source>
        <translation>Storm warning %1: %2 hPa in 3 h</translation>
    </message>
</context>
<context>
    <name>TSysteminfoForm</name>
    <message>
        <source>Journal…</source>
        <translation>Log…</translation>
    </message>
    <message>
        <source>Ouvre le dossier qui contient le journal du programme (%1)</source>
        <translation>Opens the folder that holds the program&apos;s log (%1)</translation>
    </message>
    <message>
        <source>Logiciel libre sous licence GNU GPL, version 3 ou ultérieure</source>
        <translation>Free software under the GNU GPL, version 3 or later</translation>
    </message>
</context>
<context>
    <name>TUpdateForm</name>
    <message>
        <source>Mise à jour</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Aucun firmware installé</source>
        <translation>No firmware installed</translation>
    </message>
</context>
<context>
    <name>TUpdateInfoForm</name>
    <message>
        <source>Mise à jour</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>La mise à jour a été réalisée avec succès.</source>
        <translation>The update was carried out successfully.</translation>
    </message>
    <message>
        <source>Après cela, tous les messages sont perdus.</source>
        <translation>After this, all messages are lost.</translation>
    </message>
    <message>
        <source>Après cela, le récepteur va se déconnecter du PC.</source>
        <translation>After this, the receiver will disconnect from the PC.</translation>
    </message>
    <message>
        <source>Le système de dossier va être formaté.</source>
        <translation>The folder system will be formatted.</translation>
    </message>
    <message>
        <source>Un message d&apos;erreur va probablement apparaître.</source>
        <translation>An error message will probably appear.</translation>
    </message>
    <message>
        <source>Ce message d&apos;erreur peut être ignoré.</source>
        <translation>This error message can be ignored.</translation>
    </message>
    <message>
        <source>Attendre 30 secondes jusqu&apos;à l&apos;éclairage de la LED.</source>
        <translation>Wait 30 seconds until the LED lights up.</translation>
    </message>
</context>
<context>
    <name>TUserTools</name>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>Fichier : %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Carte NAVTEX.png</source>
        <translation>NAVTEX map.png</translation>
    </message>
    <message>
        <source>Barographe %1, jusqu’au %2</source>
        <translation>Barograph %1, up to %2</translation>
    </message>
    <message>
        <source>Image PNG (*.png)|*.png|Document PDF (*.pdf)|*.pdf</source>
        <translation>PNG image (*.png)|*.png|PDF document (*.pdf)|*.pdf</translation>
    </message>
</context>
<context>
    <name>TWarningsView</name>
    <message>
        <source>Avertissements pour le traceur</source>
        <translation>Warnings for the chart plotter</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;» n’est pas un chemin complet : rien n’y est écrit.</source>
        <translation>“%1” is not a full path: nothing is written there.</translation>
    </message>
    <message>
        <source>Le dossier «&#xa0;%1&#xa0;» n’existe pas : rien n’y est écrit.</source>
        <translation>The folder “%1” does not exist: nothing is written there.</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;» est un fichier, pas un dossier : rien n’y est écrit.</source>
        <translation>“%1” is a file, not a folder: nothing is written there.</translation>
    </message>
    <message>
        <source>Les fichiers ne peuvent pas être écrits dans «&#xa0;%1&#xa0;» (droits d’accès ?).</source>
        <translation>The files cannot be written to “%1” (access rights?).</translation>
    </message>
    <message>
        <source>Aucun dossier : pas d’export.</source>
        <translation>No folder: no export.</translation>
    </message>
    <message>
        <source>Écrits vers «&#xa0;%1&#xa0;» après le prochain transfert.</source>
        <translation>Written to “%1” after the next transfer.</translation>
    </message>
    <message>
        <source>Écrits le %1 (%2 avertissements en vigueur avec positions).</source>
        <translation>Written on %1 (%2 warnings in force with positions).</translation>
    </message>
    <message>
        <source>Les avertissements pour le traceur n’ont pas été écrits. </source>
        <translation>The warnings for the chart plotter have not been written. </translation>
    </message>
    <message>
        <source>reçu le </source>
        <translation>received on </translation>
    </message>
    <message>
        <source>%1 jours</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>%1 heures</source>
        <translation>%1 hours</translation>
    </message>
    <message>
        <source>annulé par %1 le %2</source>
        <translation>cancelled by %1 on %2</translation>
    </message>
    <message>
        <source>remplacé : son identifiant a été repris par %1 du %2</source>
        <translation>superseded: its identifier was taken by %1 of %2</translation>
    </message>
    <message>
        <source>remplacé par %1 du %2</source>
        <translation>superseded by %1 of %2</translation>
    </message>
    <message>
        <source>absent de la liste des avertissements en vigueur de %1 du %2</source>
        <translation>missing from the list of warnings in force of %1 of %2</translation>
    </message>
    <message>
        <source>expiré le %1 (sans nouvelle depuis %2)</source>
        <translation>expired on %1 (no news since %2)</translation>
    </message>
    <message>
        <source>expiré depuis le %1</source>
        <translation>expired since %1</translation>
    </message>
    <message>
        <source>en vigueur</source>
        <translation>in force</translation>
    </message>
    <message>
        <source>le bateau est dans la zone</source>
        <translation>the boat is in the area</translation>
    </message>
    <message>
        <source>à %1 nm au %2°</source>
        <translation>%1 nm away, bearing %2°</translation>
    </message>
    <message>
        <source> de %1 NM</source>
        <translation> of %1 NM</translation>
    </message>
    <message>
        <source>Positions : </source>
        <translation>Positions: </translation>
    </message>
</context>
<context>
    <name>acquisition</name>
    <message>
        <source>E´tat: Stand-by exempt USB</source>
        <translation>State: stand-by without USB</translation>
    </message>
    <message>
        <source>E´tat: Stand-by par USB</source>
        <translation>State: stand-by on USB</translation>
    </message>
    <message>
        <source>E´tat: Stand-by exempt batterie</source>
        <translation>State: stand-by without battery</translation>
    </message>
    <message>
        <source>E´tat: charger</source>
        <translation>State: charging</translation>
    </message>
    <message>
        <source>Actuel messages: </source>
        <translation>Current messages: </translation>
    </message>
    <message>
        <source>Température: </source>
        <translation>Temperature: </translation>
    </message>
    <message>
        <source>Pression atmosphérique: </source>
        <translation>Air pressure: </translation>
    </message>
    <message>
        <source>Tendance: </source>
        <translation>Tendency: </translation>
    </message>
    <message>
        <source>Capacité:</source>
        <translation>Capacity:</translation>
    </message>
</context>
<context>
    <name>baro</name>
    <message>
        <source>stable</source>
        <translation>steady</translation>
    </message>
    <message>
        <source>en hausse lente</source>
        <translation>rising slowly</translation>
    </message>
    <message>
        <source>en baisse lente</source>
        <translation>falling slowly</translation>
    </message>
    <message>
        <source>en hausse</source>
        <translation>rising</translation>
    </message>
    <message>
        <source>en baisse</source>
        <translation>falling</translation>
    </message>
    <message>
        <source>en hausse rapide</source>
        <translation>rising quickly</translation>
    </message>
    <message>
        <source>en baisse rapide</source>
        <translation>falling quickly</translation>
    </message>
    <message>
        <source>en hausse très rapide</source>
        <translation>rising very rapidly</translation>
    </message>
    <message>
        <source>en baisse très rapide</source>
        <translation>falling very rapidly</translation>
    </message>
    <message>
        <source>Avis de tempête : le baromètre est </source>
        <translation>Storm warning: the barometer is </translation>
    </message>
    <message>
        <source> hPa en 3 heures). Prenez vos précautions.</source>
        <translation> hPa in 3 hours). Take your precautions.</translation>
    </message>
    <message>
        <source>(12 heures)</source>
        <translation>(12 hours)</translation>
    </message>
    <message>
        <source>(1 jour)</source>
        <translation>(1 day)</translation>
    </message>
    <message>
        <source>(2 jours)</source>
        <translation>(2 days)</translation>
    </message>
    <message>
        <source>(4 jours)</source>
        <translation>(4 days)</translation>
    </message>
    <message>
        <source>(7 jours)</source>
        <translation>(7 days)</translation>
    </message>
</context>
<context>
    <name>common</name>
    <message>
        <source> à </source>
        <translation> at </translation>
    </message>
    <message>
        <source>jj/mm/aaaa</source>
        <translation>jj/mm/aaaa</translation>
    </message>
</context>
<context>
    <name>navtex</name>
    <message>
        <source>International (518 kHz)</source>
        <translation>International (518 kHz)</translation>
    </message>
    <message>
        <source>National (490 kHz)</source>
        <translation>National (490 kHz)</translation>
    </message>
    <message>
        <source>Avertissements de navigation</source>
        <translation>Navigational warnings</translation>
    </message>
    <message>
        <source>Avis météorologiques</source>
        <translation>Meteorological warnings</translation>
    </message>
    <message>
        <source>Rapport sur la situation des glaces</source>
        <translation>Ice reports</translation>
    </message>
    <message>
        <source>Renseignements recherche/sauvetage</source>
        <translation>Search and rescue information</translation>
    </message>
    <message>
        <source>Prévisions météorologiques</source>
        <translation>Meteorological forecasts</translation>
    </message>
    <message>
        <source>Messages sur service de pilotage</source>
        <translation>Pilot service messages</translation>
    </message>
    <message>
        <source>Messages d’aide à la navigation</source>
        <translation>Navigational aid messages</translation>
    </message>
    <message>
        <source>Autres messages</source>
        <translation>Other messages</translation>
    </message>
    <message>
        <source>Avertissement supplémentaires</source>
        <translation>Further navigational warnings</translation>
    </message>
    <message>
        <source>Messages restants</source>
        <translation>Remaining messages</translation>
    </message>
    <message>
        <source> · reçu le </source>
        <translation> · received on </translation>
    </message>
    <message>
        <source> à </source>
        <translation> at </translation>
    </message>
    <message>
        <source> · n’est plus sur le récepteur</source>
        <translation> · no longer on the receiver</translation>
    </message>
</context>
<context>
    <name>palette</name>
    <message>
        <source>jour</source>
        <translation>day</translation>
    </message>
    <message>
        <source>crépuscule</source>
        <translation>dusk</translation>
    </message>
    <message>
        <source>nuit</source>
        <translation>night</translation>
    </message>
</context>
<context>
    <name>stations</name>
    <message>
        <source>station </source>
        <translation>station </translation>
    </message>
    <message>
        <source> ou </source>
        <translation> or </translation>
    </message>
</context>
<context>
    <name>update</name>
    <message>
        <source>ZEL2 non trouvé. Veuillez vérifier la connection du câble. Le PC doit fonctionner en mode administrateur!</source>
        <translation>ZEL2 not found. Please check the cable connection. The PC must run in administrator mode!</translation>
    </message>
    <message>
        <source>Transmettre les données firmware ...</source>
        <translation>Transmitting the firmware data ...</translation>
    </message>
    <message>
        <source>Vérification des données firmware ...</source>
        <translation>Verifying the firmware data ...</translation>
    </message>
    <message>
        <source>Demarrage programmer ...</source>
        <translation>Starting the programming ...</translation>
    </message>
    <message>
        <source>La mise à jour a été réalisée avec succès!</source>
        <translation>The update was carried out successfully!</translation>
    </message>
    <message>
        <source>Erreur! Mise à jour abandonner!</source>
        <translation>Error! Update abandoned!</translation>
    </message>
    <message>
        <source>Erreur! La commande de démarrage n&apos;a pas atteint le récepteur. Mise à jour abandonner!</source>
        <translation>Error! The start command did not reach the receiver. Update abandoned!</translation>
    </message>
    <message>
        <source>Erreur! Le fichier du récepteur est plus petit que ne le prévoit le firmware. Rien n&apos;a été écrit. Mise à jour abandonner!</source>
        <translation>Error! The receiver&apos;s file is smaller than the firmware expects. Nothing was written. Update abandoned!</translation>
    </message>
    <message>
        <source>famille de récepteurs inconnue</source>
        <translation>unknown receiver family</translation>
    </message>
    <message>
        <source>version invalide</source>
        <translation>invalid version</translation>
    </message>
    <message>
        <source>origine inconnue</source>
        <translation>unknown origin</translation>
    </message>
    <message>
        <source>Aucun firmware ne convient à ce récepteur.</source>
        <translation>No firmware suits this receiver.</translation>
    </message>
    <message>
        <source> Mise à jour abandonner!</source>
        <translation> Update abandoned!</translation>
    </message>
    <message>
        <source>le paquet est incomplet (%1)</source>
        <translation>the package is incomplete (%1)</translation>
    </message>
    <message>
        <source>le fichier %1 n&apos;est pas %2</source>
        <translation>the file %1 is not %2</translation>
    </message>
    <message>
        <source>%1 manque ou est illisible</source>
        <translation>%1 is missing or unreadable</translation>
    </message>
    <message>
        <source>la clé « %1 » figure deux fois dans %2</source>
        <translation>the key “%1” appears twice in %2</translation>
    </message>
    <message>
        <source>la taille de %1 n&apos;est pas celle de l&apos;image (%2 octets)</source>
        <translation>the size of %1 is not the image&apos;s (%2 bytes)</translation>
    </message>
    <message>
        <source>la somme SHA-256 de %1 est invalide</source>
        <translation>the SHA-256 sum of %1 is invalid</translation>
    </message>
    <message>
        <source>le fichier %1 manque ou est illisible</source>
        <translation>the file %1 is missing or unreadable</translation>
    </message>
    <message>
        <source>le fichier %1 n&apos;a pas la taille annoncée</source>
        <translation>the file %1 does not have the size given</translation>
    </message>
    <message>
        <source>la somme SHA-256 de %1 ne correspond pas</source>
        <translation>the SHA-256 sum of %1 does not match</translation>
    </message>
    <message>
        <source>le préambule %1 manque ou est invalide</source>
        <translation>the preamble %1 is missing or invalid</translation>
    </message>
    <message>
        <source>le préambule %1 dépasse la fin du fichier %2</source>
        <translation>the preamble %1 goes past the end of the file %2</translation>
    </message>
    <message>
        <source>Paquet firmware refusé (%1) : %2.</source>
        <translation>Firmware package refused (%1): %2.</translation>
    </message>
    <message>
        <source>Aucun firmware n&apos;est installé pour le %1. Installez le paquet firmware du %1 dans %2.</source>
        <translation>No firmware is installed for the %1. Install the %1 firmware package in %2.</translation>
    </message>
    <message>
        <source>Le paquet firmware installé est destiné au %1, pas au %2. Installez le paquet du %2 dans %3.</source>
        <translation>The installed firmware package is meant for the %1, not the %2. Install the %2 package in %3.</translation>
    </message>
</context>
<context>
    <name>urgency</name>
    <message>
        <source>détresse : recherche et sauvetage ou message vital</source>
        <translation>distress: search and rescue or vital message</translation>
    </message>
    <message>
        <source>avertissement de navigation près du bateau</source>
        <translation>navigational warning near the boat</translation>
    </message>
    <message>
        <source>avis de coup de vent</source>
        <translation>gale warning</translation>
    </message>
</context>
</TS>
