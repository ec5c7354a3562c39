<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="fr">
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
        <translation>HILFE</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Ouvrir...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>&amp;Enregistrer...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Imprimer...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Réglages</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Ouvrir arborescence</source>
        <translation>Menübaum &amp;aufklappen</translation>
    </message>
    <message>
        <source>&amp;Fermer arborescence</source>
        <translation>Menübaum &amp;einklappen</translation>
    </message>
    <message>
        <source>Zoom avant</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Zoom arriére</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Manuel</source>
        <translation>&amp;Bedienungsanleitung</translation>
    </message>
    <message>
        <source>&amp;Information système...</source>
        <translation>&amp;Systeminformation...</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Konfiguration...</translation>
    </message>
    <message>
        <source>Pression[hPa]</source>
        <translation>Luftdruck [hPa]</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Datei laden</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Datei drucken</translation>
    </message>
    <message>
        <source>Ouvrir arborescence</source>
        <translation>Menübaum ausklappen</translation>
    </message>
    <message>
        <source>Reduire arborescence</source>
        <translation>Menübaum einklappen</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Bedienungsanleitung</translation>
    </message>
    <message>
        <source>Information système...</source>
        <translation>Systeminformation</translation>
    </message>
</context>
<context>
    <name>TAlertNotice</name>
    <message>
        <source>Alertes</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Messages et avis qui demandent l’attention de l’équipage :</source>
        <translation>Meldungen und Warnungen, die die Aufmerksamkeit der Crew verlangen:</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Sujet</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Acquitter</source>
        <translation>Quittieren</translation>
    </message>
    <message>
        <source>Ces alertes ne seront plus signalées, ni ici ni sur le réseau du bord</source>
        <translation>Diese Alarme werden nicht mehr gemeldet, weder hier noch im Bordnetz</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>TBoatPosition</name>
    <message>
        <source>Aucune source de position.</source>
        <translation>Keine Positionsquelle.</translation>
    </message>
    <message>
        <source>Position fixe.</source>
        <translation>Feste Position.</translation>
    </message>
    <message>
        <source>Le port UDP %1 ne peut pas être ouvert (%2).</source>
        <translation>UDP-Port %1 kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>À l’écoute sur le port UDP %1, en attente de phrases NMEA.</source>
        <translation>Empfang auf UDP-Port %1, warte auf NMEA-Sätze.</translation>
    </message>
    <message>
        <source>Adresse de la source incomplète (hôte:port).</source>
        <translation>Unvollständige Quelladresse (Host:Port).</translation>
    </message>
    <message>
        <source>Interrogation du serveur Signal K %1:%2…</source>
        <translation>Frage Signal-K-Server %1:%2 ab…</translation>
    </message>
    <message>
        <source>Connecté à %1:%2, en attente d’une position.</source>
        <translation>Verbunden mit %1:%2, warte auf eine Position.</translation>
    </message>
    <message>
        <source>%1:%2 ne répond pas (%3).</source>
        <translation>%1:%2 antwortet nicht (%3).</translation>
    </message>
    <message>
        <source>%1:%2 a fermé la connexion.</source>
        <translation>%1:%2 hat die Verbindung geschlossen.</translation>
    </message>
    <message>
        <source>Connexion à %1:%2…</source>
        <translation>Verbinde mit %1:%2…</translation>
    </message>
    <message>
        <source>Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3.</source>
        <translation>Geben Sie die serielle Schnittstelle an, zum Beispiel /dev/ttyUSB0 oder COM3.</translation>
    </message>
    <message>
        <source>Le port série %1 n’existe pas (récepteur débranché ?).</source>
        <translation>Die serielle Schnittstelle %1 existiert nicht (Empfänger abgezogen?).</translation>
    </message>
    <message>
        <source>Le port série %1 est occupé par un autre programme.</source>
        <translation>Die serielle Schnittstelle %1 wird von einem anderen Programm benutzt.</translation>
    </message>
    <message>
        <source>Le port série %1 ne peut pas être ouvert (%2).</source>
        <translation>Die serielle Schnittstelle %1 kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>Port série %1 ouvert à %2 bauds, en attente de phrases NMEA.</source>
        <translation>Serielle Schnittstelle %1 mit %2 Baud geöffnet, warte auf NMEA-Sätze.</translation>
    </message>
    <message>
        <source>Le port série %1 ne répond plus (%2).</source>
        <translation>Die serielle Schnittstelle %1 antwortet nicht mehr (%2).</translation>
    </message>
    <message>
        <source>Port série %1 à %2 bauds : phrases NMEA reçues.</source>
        <translation>Serielle Schnittstelle %1 mit %2 Baud: NMEA-Sätze empfangen.</translation>
    </message>
    <message>
        <source> Nouvel essai dans %1 s.</source>
        <translation> Neuer Versuch in %1 s.</translation>
    </message>
    <message>
        <source>Position reçue.</source>
        <translation>Position empfangen.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 demande une autorisation : cliquez « Demander l’accès ».</source>
        <translation>Der Signal-K-Server %1 verlangt eine Freigabe: klicken Sie „Zugang anfordern“.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 refuse le jeton enregistré : cliquez « Demander l’accès » à nouveau.</source>
        <translation>Der Signal-K-Server %1 lehnt das gespeicherte Token ab: klicken Sie erneut „Zugang anfordern“.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 n’a pas de position du bateau.</source>
        <translation>Der Signal-K-Server %1 hat keine Position des Boots.</translation>
    </message>
    <message>
        <source>Connecté au serveur Signal K %1, en attente d’une position.</source>
        <translation>Verbunden mit Signal-K-Server %1, warte auf eine Position.</translation>
    </message>
    <message>
        <source>Connecté au serveur Signal K %1.</source>
        <translation>Verbunden mit Signal-K-Server %1.</translation>
    </message>
    <message>
        <source>Signal K</source>
        <translation>Signal K</translation>
    </message>
    <message>
        <source>GPS (port série)</source>
        <translation>GPS (serielle Schnittstelle)</translation>
    </message>
    <message>
        <source>position fixe</source>
        <translation>feste Position</translation>
    </message>
    <message>
        <source>Position : en attente · %1</source>
        <translation>Position: warte · %1</translation>
    </message>
    <message>
        <source>Position : %1 · %2</source>
        <translation>Position: %1 · %2</translation>
    </message>
    <message>
        <source>il y a %1 s</source>
        <translation>vor %1 s</translation>
    </message>
    <message>
        <source>il y a %1 min</source>
        <translation>vor %1 min</translation>
    </message>
    <message>
        <source>il y a %1 h</source>
        <translation>vor %1 h</translation>
    </message>
    <message>
        <source>Position perdue : %1 · %2 · %3</source>
        <translation>Position verloren: %1 · %2 · %3</translation>
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
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Correction barométre altitude</source>
        <translation>Höhenkorrektur des Barometers</translation>
    </message>
    <message>
        <source>Barométre altitude [m]</source>
        <translation>Höhe des Barometers [m]</translation>
    </message>
    <message>
        <source>Dernier message afficher automatiquement</source>
        <translation>Letzte Meldung automatisch anzeigen</translation>
    </message>
    <message>
        <source>Sauvegarder</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>THistoryPanel</name>
    <message>
        <source>date inconnue</source>
        <translation>unbekanntes Datum</translation>
    </message>
    <message>
        <source>Aucun message trouvé</source>
        <translation>Keine Meldung gefunden</translation>
    </message>
    <message>
        <source>1 message trouvé</source>
        <translation>1 Meldung gefunden</translation>
    </message>
    <message>
        <source>%1 messages trouvés</source>
        <translation>%1 Meldungen gefunden</translation>
    </message>
    <message>
        <source>, les %1 plus récents affichés</source>
        <translation>, die %1 neuesten angezeigt</translation>
    </message>
    <message>
        <source>Rechercher</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Fréquence</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>518 et 490 kHz</source>
        <translation>518 und 490 kHz</translation>
    </message>
    <message>
        <source>Période de réception</source>
        <translation>Empfangszeitraum</translation>
    </message>
    <message>
        <source>Tout l’historique</source>
        <translation>Gesamter Verlauf</translation>
    </message>
    <message>
        <source>Dernières 24 heures</source>
        <translation>Letzte 24 Stunden</translation>
    </message>
    <message>
        <source>3 derniers jours</source>
        <translation>Letzte 3 Tage</translation>
    </message>
    <message>
        <source>7 derniers jours</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <source>Station émettrice (B1)</source>
        <translation>Sendestation (B1)</translation>
    </message>
    <message>
        <source>Toutes les stations</source>
        <translation>Alle Stationen</translation>
    </message>
    <message>
        <source>Station %1</source>
        <translation>Station %1</translation>
    </message>
    <message>
        <source>Sujet du message (B2)</source>
        <translation>Thema der Meldung (B2)</translation>
    </message>
    <message>
        <source>Tous les sujets</source>
        <translation>Alle Themen</translation>
    </message>
    <message>
        <source>En vigueur seulement</source>
        <translation>Nur gültige</translation>
    </message>
    <message>
        <source>Ne montrer que les messages encore en vigueur : ni annulés, ni expirés, ni remplacés, ni absents de la dernière liste des avertissements en vigueur</source>
        <translation>Nur noch gültige Meldungen zeigen: nicht aufgehoben, abgelaufen, ersetzt oder in der letzten Liste der gültigen Warnungen fehlend</translation>
    </message>
    <message>
        <source>À moins de 50 nm du bateau</source>
        <translation>Innerhalb 50 sm vom Boot</translation>
    </message>
    <message>
        <source>Ne montrer que les avertissements en vigueur dont une position est à moins de cette distance du bateau (sans position du bateau, tous)</source>
        <translation>Nur gültige Warnungen mit einer Position innerhalb dieser Entfernung vom Boot zeigen (ohne Bootsposition alle)</translation>
    </message>
    <message>
        <source>L’historique des messages était endommagé. Il a été mis de côté sous le nom « %1 » et un nouvel historique est fait à partir des messages de l’archive et de ceux qui ont pu y être relus.</source>
        <translation>Der Meldungsverlauf war beschädigt. Er wurde als „%1“ beiseitegelegt, und ein neuer Verlauf wird aus den Meldungen des Archivs und den daraus noch lesbaren Meldungen erstellt.</translation>
    </message>
    <message>
        <source> L’historique est conservé tel quel et le programme réessaie toutes les 30 secondes. Les détails sont dans le journal (%1).</source>
        <translation> Der Verlauf bleibt, wie er ist, und das Programm versucht es alle 30 Sekunden erneut. Die Einzelheiten stehen im Protokoll (%1).</translation>
    </message>
    <message>
        <source>Le disque est plein : les nouveaux messages ne peuvent pas être enregistrés dans l’historique.</source>
        <translation>Die Festplatte ist voll: neue Meldungen können nicht im Verlauf gespeichert werden.</translation>
    </message>
    <message>
        <source>Une erreur d’entrée-sortie du disque empêche d’enregistrer l’historique des messages.</source>
        <translation>Ein Ein-/Ausgabefehler der Festplatte verhindert das Speichern des Meldungsverlaufs.</translation>
    </message>
    <message>
        <source>Le fichier de l’historique des messages ne peut pas être écrit (droits d’accès ou lecture seule).</source>
        <translation>Die Datei des Meldungsverlaufs kann nicht geschrieben werden (Zugriffsrechte oder schreibgeschützt).</translation>
    </message>
    <message>
        <source>L’historique des messages a été créé par une version plus récente du programme. Il est laissé tel quel : la recherche le consulte sans y écrire.</source>
        <translation>Der Meldungsverlauf wurde von einer neueren Version des Programms angelegt. Er bleibt unverändert: die Suche liest ihn, ohne hineinzuschreiben.</translation>
    </message>
    <message>
        <source>Les nouveaux messages ne peuvent pas être enregistrés dans l’historique.</source>
        <translation>Neue Meldungen können nicht im Verlauf gespeichert werden.</translation>
    </message>
    <message>
        <source>Historique des messages</source>
        <translation>Meldungsverlauf</translation>
    </message>
    <message>
        <source>L’historique se prépare…</source>
        <translation>Der Verlauf wird vorbereitet…</translation>
    </message>
    <message>
        <source>La recherche a échoué</source>
        <translation>Die Suche ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>
reçu le </source>
        <translation>
empfangen am </translation>
    </message>
    <message>
        <source>À moins de %1 nm du bateau</source>
        <translation>Innerhalb %1 sm vom Boot</translation>
    </message>
    <message>
        <source> · historique</source>
        <translation> · Verlauf</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Copier les positions</source>
        <translation>Positionen kopieren</translation>
    </message>
    <message>
        <source>Exporter les avertissements…</source>
        <translation>Warnungen exportieren…</translation>
    </message>
    <message>
        <source>Réseau du bord et alarmes…</source>
        <translation>Bordnetz und Alarme…</translation>
    </message>
    <message>
        <source>&amp;Langue</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>La langue choisie s’applique au prochain démarrage du programme.</source>
        <translation>Die gewählte Sprache gilt ab dem nächsten Start des Programms.</translation>
    </message>
    <message>
        <source>Couleurs de %1	F12</source>
        <translation>Farben: %1	F12</translation>
    </message>
    <message>
        <source>Jour, crépuscule, nuit : maintenant %1</source>
        <translation>Tag, Dämmerung, Nacht: jetzt %1</translation>
    </message>
    <message>
        <source>NMEA : 1 client</source>
        <translation>NMEA: 1 Client</translation>
    </message>
    <message>
        <source>NMEA : %1 clients</source>
        <translation>NMEA: %1 Clients</translation>
    </message>
    <message>
        <source>Baromètre</source>
        <translation>Barometer</translation>
    </message>
    <message>
        <source>Avis de tempête</source>
        <translation>Sturmwarnung</translation>
    </message>
    <message>
        <source>CARTE</source>
        <translation>KARTE</translation>
    </message>
    <message>
        <source>Exporter les avertissements vers</source>
        <translation>Warnungen exportieren nach</translation>
    </message>
    <message>
        <source>Les avertissements n’ont pas pu être écrits dans %1.</source>
        <translation>Die Warnungen konnten nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>TMapPage</name>
    <message>
        <source>Identifiant</source>
        <translation>Kennung</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Sujet</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>Reçu (heure locale)</source>
        <translation>Empfangen (Ortszeit)</translation>
    </message>
    <message>
        <source>Reçu (UTC)</source>
        <translation>Empfangen (UTC)</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Entfernung</translation>
    </message>
    <message>
        <source>Première ligne</source>
        <translation>Erste Zeile</translation>
    </message>
    <message>
        <source>Tous les sujets</source>
        <translation>Alle Themen</translation>
    </message>
    <message>
        <source>Toutes les stations</source>
        <translation>Alle Stationen</translation>
    </message>
    <message>
        <source>Montrer les avertissements terminés (en gris)</source>
        <translation>Beendete Warnungen zeigen (grau)</translation>
    </message>
    <message>
        <source>Toute la zone</source>
        <translation>Ganzes Gebiet</translation>
    </message>
    <message>
        <source>Montrer tous les avertissements en vigueur et le bateau</source>
        <translation>Alle gültigen Warnungen und das Boot zeigen</translation>
    </message>
    <message>
        <source>Voir dans la page NAVTEX</source>
        <translation>Auf der NAVTEX-Seite zeigen</translation>
    </message>
    <message>
        <source>À moins de %1 nm du bateau</source>
        <translation>Innerhalb %1 sm vom Boot</translation>
    </message>
    <message>
        <source>station %1</source>
        <translation>Station %1</translation>
    </message>
    <message>
        <source>%1 nm · %2°</source>
        <translation>%1 sm · %2°</translation>
    </message>
    <message>
        <source>1 avertissement en vigueur</source>
        <translation>1 gültige Warnung</translation>
    </message>
    <message>
        <source>%1 avertissements en vigueur</source>
        <translation>%1 gültige Warnungen</translation>
    </message>
    <message>
        <source>en vigueur</source>
        <translation>gültig</translation>
    </message>
    <message>
        <source>Avertissements NAVTEX en vigueur – %1</source>
        <translation>Gültige NAVTEX-Warnungen – %1</translation>
    </message>
    <message>
        <source>dd/MM/yyyy HH:mm</source>
        <translation>dd.MM.yyyy HH:mm</translation>
    </message>
</context>
<context>
    <name>TMapView</name>
    <message>
        <source> nm</source>
        <translation> sm</translation>
    </message>
    <message>
        <source>Avertissements de navigation</source>
        <translation>Navigationswarnungen</translation>
    </message>
    <message>
        <source>Avis de coup de vent</source>
        <translation>Sturmwarnungen</translation>
    </message>
    <message>
        <source>Recherche et sauvetage</source>
        <translation>Suche und Rettung</translation>
    </message>
    <message>
        <source>Glaces</source>
        <translation>Eis</translation>
    </message>
    <message>
        <source>Autres messages</source>
        <translation>Andere Meldungen</translation>
    </message>
    <message>
        <source>Terminés (annulés, expirés)</source>
        <translation>Beendet (aufgehoben, abgelaufen)</translation>
    </message>
    <message>
        <source>Bateau et distance d’alerte</source>
        <translation>Boot und Alarmentfernung</translation>
    </message>
    <message>
        <source>%1 · %2
reçu %3
%4</source>
        <translation>%1 · %2
empfangen %3
%4</translation>
    </message>
</context>
<context>
    <name>TNetworkDlg</name>
    <message>
        <source>Réseau du bord et alarmes</source>
        <translation>Bordnetz und Alarme</translation>
    </message>
    <message>
        <source>Sortie NMEA 0183 activée</source>
        <translation>NMEA-0183-Ausgabe eingeschaltet</translation>
    </message>
    <message>
        <source>Écouter sur tous les réseaux</source>
        <translation>Auf allen Netzwerken empfangen</translation>
    </message>
    <message>
        <source>hôte:port</source>
        <translation>Host:Port</translation>
    </message>
    <message>
        <source>aucun (pas d’export)</source>
        <translation>keiner (kein Export)</translation>
    </message>
    <message>
        <source>Après chaque transfert, les avertissements en vigueur qui donnent des positions y sont écrits en GPX et en GeoJSON (navtex-warnings.gpx, navtex-warnings.geojson).</source>
        <translation>Nach jeder Übertragung werden die gültigen Warnungen mit Positionen dort als GPX und GeoJSON geschrieben (navtex-warnings.gpx, navtex-warnings.geojson).</translation>
    </message>
    <message>
        <source>Parcourir…</source>
        <translation>Durchsuchen…</translation>
    </message>
    <message>
        <source>Dossier des avertissements</source>
        <translation>Ordner der Warnungen</translation>
    </message>
    <message>
        <source>Calques d’OpenCPN</source>
        <translation>OpenCPN-Ebenen</translation>
    </message>
    <message>
        <source>Aucune</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>NMEA 0183 en UDP (multiplexeur)</source>
        <translation>NMEA 0183 über UDP (Multiplexer)</translation>
    </message>
    <message>
        <source>NMEA 0183 par TCP</source>
        <translation>NMEA 0183 über TCP</translation>
    </message>
    <message>
        <source>Serveur Signal K</source>
        <translation>Signal-K-Server</translation>
    </message>
    <message>
        <source>GPS sur port série (USB)</source>
        <translation>GPS an serieller Schnittstelle (USB)</translation>
    </message>
    <message>
        <source>Position fixe (port, mouillage)</source>
        <translation>Feste Position (Hafen, Ankerplatz)</translation>
    </message>
    <message>
        <source>Demander l’accès</source>
        <translation>Zugang anfordern</translation>
    </message>
    <message>
        <source>Pour un serveur Signal K dont la sécurité est active : la demande s’approuve dans son administration, le jeton reçu est gardé.</source>
        <translation>Für einen Signal-K-Server mit aktiver Sicherheit: die Anfrage wird in seiner Verwaltung freigegeben, das erhaltene Token wird gespeichert.</translation>
    </message>
    <message>
        <source>Indiquez la source sous la forme hôte:port.</source>
        <translation>Geben Sie die Quelle als Host:Port an.</translation>
    </message>
    <message>
        <source>Latitude et longitude en degrés décimaux, nord et est positifs</source>
        <translation>Breite und Länge in Dezimalgrad, Nord und Ost positiv</translation>
    </message>
    <message>
        <source>Un avertissement à moins de cette distance du bateau le concerne</source>
        <translation>Eine Warnung innerhalb dieser Entfernung vom Boot betrifft es</translation>
    </message>
    <message>
        <source>Envoyer les alertes au serveur Signal K</source>
        <translation>Alarme an den Signal-K-Server senden</translation>
    </message>
    <message>
        <source>Détresse, avis de coup de vent, avertissements près du bateau et avis de tempête deviennent des notifications du serveur (notifications.navtex.…), levées quand le message n’est plus en vigueur ou a été acquitté.</source>
        <translation>Notfall, Sturmwarnungen, Warnungen nahe dem Boot und Sturmwarnungen des Barometers werden zu Benachrichtigungen des Servers (notifications.navtex.…), aufgehoben, wenn die Meldung nicht mehr gilt oder quittiert wurde.</translation>
    </message>
    <message>
        <source>Indiquez le serveur sous la forme hôte:port.</source>
        <translation>Geben Sie den Server als Host:Port an.</translation>
    </message>
    <message>
        <source>Port TCP :</source>
        <translation>TCP-Port:</translation>
    </message>
    <message>
        <source>Destination UDP :</source>
        <translation>UDP-Ziel:</translation>
    </message>
    <message>
        <source>Avis de tempête [hPa/3h] :</source>
        <translation>Sturmwarnung [hPa/3h]:</translation>
    </message>
    <message>
        <source>État :</source>
        <translation>Zustand:</translation>
    </message>
    <message>
        <source>Exporter les avertissements vers</source>
        <translation>Warnungen exportieren nach</translation>
    </message>
    <message>
        <source>Export :</source>
        <translation>Export:</translation>
    </message>
    <message>
        <source>Position du bateau :</source>
        <translation>Bootsposition:</translation>
    </message>
    <message>
        <source>Adresse de la source :</source>
        <translation>Quelladresse:</translation>
    </message>
    <message>
        <source>Position fixe :</source>
        <translation>Feste Position:</translation>
    </message>
    <message>
        <source>Distance d’alerte [nm] :</source>
        <translation>Alarmentfernung [sm]:</translation>
    </message>
    <message>
        <source>Position :</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>Serveur Signal K :</source>
        <translation>Signal-K-Server:</translation>
    </message>
    <message>
        <source>Alertes :</source>
        <translation>Alarme:</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>aucun</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>port (10110)</source>
        <translation>Port (10110)</translation>
    </message>
    <message>
        <source>« %1 » n’est pas un chemin complet : choisissez le dossier avec « Parcourir… ».</source>
        <translation>„%1“ ist kein vollständiger Pfad: wählen Sie den Ordner mit „Durchsuchen…“.</translation>
    </message>
    <message>
        <source>Indiquez un port UDP (1 à 65535), par exemple 10110.</source>
        <translation>Geben Sie einen UDP-Port an (1 bis 65535), zum Beispiel 10110.</translation>
    </message>
    <message>
        <source>Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3 (suivi de « @4800 » ou « @38400 » pour imposer une vitesse).</source>
        <translation>Geben Sie die serielle Schnittstelle an, zum Beispiel /dev/ttyUSB0 oder COM3 (gefolgt von „@4800“ oder „@38400“, um eine Geschwindigkeit festzulegen).</translation>
    </message>
    <message>
        <source>Indiquez la position en degrés décimaux, par exemple « 54.0683, 10.2050 ».</source>
        <translation>Geben Sie die Position in Dezimalgrad an, zum Beispiel „54.0683, 10.2050“.</translation>
    </message>
</context>
<context>
    <name>TNmeaOutput</name>
    <message>
        <source>Sortie arrêtée</source>
        <translation>Ausgabe angehalten</translation>
    </message>
    <message>
        <source>Port %1 occupé : nouvel essai toutes les %2 secondes</source>
        <translation>Port %1 belegt: neuer Versuch alle %2 Sekunden</translation>
    </message>
    <message>
        <source>À l’écoute sur le port %1, </source>
        <translation>Empfang auf Port %1, </translation>
    </message>
    <message>
        <source>aucun client connecté</source>
        <translation>kein Client verbunden</translation>
    </message>
    <message>
        <source>1 client connecté</source>
        <translation>1 Client verbunden</translation>
    </message>
    <message>
        <source>%1 clients connectés</source>
        <translation>%1 Clients verbunden</translation>
    </message>
    <message>
        <source> (%1 refusés : au plus %2 à la fois)</source>
        <translation> (%1 abgewiesen: höchstens %2 gleichzeitig)</translation>
    </message>
</context>
<context>
    <name>TSignalKAccess</name>
    <message>
        <source>Demande d’accès envoyée au serveur Signal K %1…</source>
        <translation>Zugangsanfrage an Signal-K-Server %1 gesendet…</translation>
    </message>
    <message>
        <source>Demande d’accès en attente : approuvez « %1 » dans l’administration du serveur Signal K %2 (Security › Access Requests).</source>
        <translation>Zugangsanfrage wartet: geben Sie „%1“ in der Verwaltung des Signal-K-Servers %2 frei (Security › Access Requests).</translation>
    </message>
    <message>
        <source>Accès accordé par le serveur Signal K %1.</source>
        <translation>Zugang vom Signal-K-Server %1 gewährt.</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 a refusé l’accès.</source>
        <translation>Der Signal-K-Server %1 hat den Zugang verweigert.</translation>
    </message>
    <message>
        <source>réponse %1</source>
        <translation>Antwort %1</translation>
    </message>
    <message>
        <source>Le serveur Signal K %1 n’a pas de sécurité à franchir : aucun accès n’est à demander.</source>
        <translation>Der Signal-K-Server %1 hat keine Sicherheit: es muss kein Zugang angefordert werden.</translation>
    </message>
    <message>
        <source>La demande d’accès au serveur Signal K %1 a échoué (%2).</source>
        <translation>Die Zugangsanfrage an den Signal-K-Server %1 ist fehlgeschlagen (%2).</translation>
    </message>
</context>
<context>
    <name>TSignalKNotifier</name>
    <message>
        <source>le serveur a fermé la connexion</source>
        <translation>der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Alertes Signal K : connexion à %1:%2…</source>
        <translation>Signal-K-Alarme: verbinde mit %1:%2…</translation>
    </message>
    <message>
        <source>Alertes Signal K : serveur %1:%2 injoignable (%3), nouvel essai dans %4 s.</source>
        <translation>Signal-K-Alarme: Server %1:%2 nicht erreichbar (%3), neuer Versuch in %4 s.</translation>
    </message>
    <message>
        <source>Alertes Signal K : le serveur a refusé la connexion (réponse %1).</source>
        <translation>Signal-K-Alarme: der Server hat die Verbindung abgelehnt (Antwort %1).</translation>
    </message>
    <message>
        <source>Alertes Signal K : connecté à %1:%2.</source>
        <translation>Signal-K-Alarme: verbunden mit %1:%2.</translation>
    </message>
    <message>
        <source>trame illisible</source>
        <translation>unlesbarer Rahmen</translation>
    </message>
</context>
<context>
    <name>TStormAlarm</name>
    <message>
        <source>Avis de tempête %1 : %2 hPa en 3 h</source>
        <translation>Sturmwarnung %1: %2 hPa in 3 h</translation>
    </message>
</context>
<context>
    <name>TSysteminfoForm</name>
    <message>
        <source>Journal…</source>
        <translation>Protokoll…</translation>
    </message>
    <message>
        <source>Ouvre le dossier qui contient le journal du programme (%1)</source>
        <translation>Öffnet den Ordner mit dem Protokoll des Programms (%1)</translation>
    </message>
    <message>
        <source>Logiciel libre sous licence GNU GPL, version 3 ou ultérieure</source>
        <translation>Freie Software unter der GNU GPL, Version 3 oder später</translation>
    </message>
</context>
<context>
    <name>TUpdateForm</name>
    <message>
        <source>Mise à jour</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Aucun firmware installé</source>
        <translation>Keine Firmware installiert</translation>
    </message>
</context>
<context>
    <name>TUpdateInfoForm</name>
    <message>
        <source>Mise à jour</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>La mise à jour a été réalisée avec succès.</source>
        <translation>Die Aktualisierung wurde erfolgreich durchgeführt.</translation>
    </message>
    <message>
        <source>Après cela, tous les messages sont perdus.</source>
        <translation>Danach sind alle Meldungen verloren.</translation>
    </message>
    <message>
        <source>Après cela, le récepteur va se déconnecter du PC.</source>
        <translation>Danach trennt sich der Empfänger vom PC.</translation>
    </message>
    <message>
        <source>Le système de dossier va être formaté.</source>
        <translation>Das Dateisystem wird formatiert.</translation>
    </message>
    <message>
        <source>Un message d&apos;erreur va probablement apparaître.</source>
        <translation>Wahrscheinlich erscheint eine Fehlermeldung.</translation>
    </message>
    <message>
        <source>Ce message d&apos;erreur peut être ignoré.</source>
        <translation>Diese Fehlermeldung kann ignoriert werden.</translation>
    </message>
    <message>
        <source>Attendre 30 secondes jusqu&apos;à l&apos;éclairage de la LED.</source>
        <translation>Warten Sie 30 Sekunden, bis die LED leuchtet.</translation>
    </message>
</context>
<context>
    <name>TUserTools</name>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>Fichier : %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Carte NAVTEX.png</source>
        <translation>NAVTEX-Karte.png</translation>
    </message>
    <message>
        <source>Barographe %1, jusqu’au %2</source>
        <translation>Barograph %1, bis %2</translation>
    </message>
    <message>
        <source>Image PNG (*.png)|*.png|Document PDF (*.pdf)|*.pdf</source>
        <translation>PNG-Bild (*.png)|*.png|PDF-Dokument (*.pdf)|*.pdf</translation>
    </message>
</context>
<context>
    <name>TWarningsView</name>
    <message>
        <source>Avertissements pour le traceur</source>
        <translation>Warnungen für den Kartenplotter</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;» n’est pas un chemin complet : rien n’y est écrit.</source>
        <translation>„%1“ ist kein vollständiger Pfad: dort wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>Le dossier «&#xa0;%1&#xa0;» n’existe pas : rien n’y est écrit.</source>
        <translation>Der Ordner „%1“ existiert nicht: dort wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;» est un fichier, pas un dossier : rien n’y est écrit.</source>
        <translation>„%1“ ist eine Datei, kein Ordner: dort wird nichts geschrieben.</translation>
    </message>
    <message>
        <source>Les fichiers ne peuvent pas être écrits dans «&#xa0;%1&#xa0;» (droits d’accès ?).</source>
        <translation>Die Dateien können nicht nach „%1“ geschrieben werden (Zugriffsrechte?).</translation>
    </message>
    <message>
        <source>Aucun dossier : pas d’export.</source>
        <translation>Kein Ordner: kein Export.</translation>
    </message>
    <message>
        <source>Écrits vers «&#xa0;%1&#xa0;» après le prochain transfert.</source>
        <translation>Werden nach der nächsten Übertragung nach „%1“ geschrieben.</translation>
    </message>
    <message>
        <source>Écrits le %1 (%2 avertissements en vigueur avec positions).</source>
        <translation>Geschrieben am %1 (%2 gültige Warnungen mit Positionen).</translation>
    </message>
    <message>
        <source>Les avertissements pour le traceur n’ont pas été écrits. </source>
        <translation>Die Warnungen für den Kartenplotter wurden nicht geschrieben. </translation>
    </message>
    <message>
        <source>reçu le </source>
        <translation>empfangen am </translation>
    </message>
    <message>
        <source>%1 jours</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>%1 heures</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <source>annulé par %1 le %2</source>
        <translation>aufgehoben durch %1 am %2</translation>
    </message>
    <message>
        <source>remplacé : son identifiant a été repris par %1 du %2</source>
        <translation>ersetzt: seine Kennung wurde von %1 vom %2 übernommen</translation>
    </message>
    <message>
        <source>remplacé par %1 du %2</source>
        <translation>ersetzt durch %1 vom %2</translation>
    </message>
    <message>
        <source>absent de la liste des avertissements en vigueur de %1 du %2</source>
        <translation>fehlt in der Liste der gültigen Warnungen von %1 vom %2</translation>
    </message>
    <message>
        <source>expiré le %1 (sans nouvelle depuis %2)</source>
        <translation>abgelaufen am %1 (keine Nachricht seit %2)</translation>
    </message>
    <message>
        <source>expiré depuis le %1</source>
        <translation>abgelaufen seit %1</translation>
    </message>
    <message>
        <source>en vigueur</source>
        <translation>gültig</translation>
    </message>
    <message>
        <source>le bateau est dans la zone</source>
        <translation>das Boot ist im Gebiet</translation>
    </message>
    <message>
        <source>à %1 nm au %2°</source>
        <translation>%1 sm entfernt, Peilung %2°</translation>
    </message>
    <message>
        <source> de %1 NM</source>
        <translation> von %1 sm</translation>
    </message>
    <message>
        <source>Positions : </source>
        <translation>Positionen: </translation>
    </message>
</context>
<context>
    <name>acquisition</name>
    <message>
        <source>E´tat: Stand-by exempt USB</source>
        <translation>Zustand: Stand-by ohne USB</translation>
    </message>
    <message>
        <source>E´tat: Stand-by par USB</source>
        <translation>Zustand: Stand-by über USB</translation>
    </message>
    <message>
        <source>E´tat: Stand-by exempt batterie</source>
        <translation>Zustand: Stand-by ohne Batterie</translation>
    </message>
    <message>
        <source>E´tat: charger</source>
        <translation>Zustand: Laden</translation>
    </message>
    <message>
        <source>Actuel messages: </source>
        <translation>Aktuelle Meldungen: </translation>
    </message>
    <message>
        <source>Température: </source>
        <translation>Temperatur: </translation>
    </message>
    <message>
        <source>Pression atmosphérique: </source>
        <translation>Luftdruck: </translation>
    </message>
    <message>
        <source>Tendance: </source>
        <translation>Tendenz: </translation>
    </message>
    <message>
        <source>Capacité:</source>
        <translation>Kapazität:</translation>
    </message>
</context>
<context>
    <name>baro</name>
    <message>
        <source>stable</source>
        <translation>gleichbleibend</translation>
    </message>
    <message>
        <source>en hausse lente</source>
        <translation>langsam steigend</translation>
    </message>
    <message>
        <source>en baisse lente</source>
        <translation>langsam fallend</translation>
    </message>
    <message>
        <source>en hausse</source>
        <translation>steigend</translation>
    </message>
    <message>
        <source>en baisse</source>
        <translation>fallend</translation>
    </message>
    <message>
        <source>en hausse rapide</source>
        <translation>schnell steigend</translation>
    </message>
    <message>
        <source>en baisse rapide</source>
        <translation>schnell fallend</translation>
    </message>
    <message>
        <source>en hausse très rapide</source>
        <translation>sehr schnell steigend</translation>
    </message>
    <message>
        <source>en baisse très rapide</source>
        <translation>sehr schnell fallend</translation>
    </message>
    <message>
        <source>Avis de tempête : le baromètre est </source>
        <translation>Sturmwarnung: das Barometer ist </translation>
    </message>
    <message>
        <source> hPa en 3 heures). Prenez vos précautions.</source>
        <translation> hPa in 3 Stunden). Treffen Sie Vorkehrungen.</translation>
    </message>
    <message>
        <source>(12 heures)</source>
        <translation>(12 Stunden)</translation>
    </message>
    <message>
        <source>(1 jour)</source>
        <translation>(1 Tag)</translation>
    </message>
    <message>
        <source>(2 jours)</source>
        <translation>(2 Tage)</translation>
    </message>
    <message>
        <source>(4 jours)</source>
        <translation>(4 Tage)</translation>
    </message>
    <message>
        <source>(7 jours)</source>
        <translation>(7 Tage)</translation>
    </message>
</context>
<context>
    <name>common</name>
    <message>
        <source> à </source>
        <translation> um </translation>
    </message>
    <message>
        <source>jj/mm/aaaa</source>
        <translation>jj.mm.aaaa</translation>
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
        <translation>Navigationswarnungen</translation>
    </message>
    <message>
        <source>Avis météorologiques</source>
        <translation>Wetterwarnungen</translation>
    </message>
    <message>
        <source>Rapport sur la situation des glaces</source>
        <translation>Eisberichte</translation>
    </message>
    <message>
        <source>Renseignements recherche/sauvetage</source>
        <translation>Such- und Rettungsinformationen</translation>
    </message>
    <message>
        <source>Prévisions météorologiques</source>
        <translation>Wettervorhersagen</translation>
    </message>
    <message>
        <source>Messages sur service de pilotage</source>
        <translation>Lotsendienstmeldungen</translation>
    </message>
    <message>
        <source>Messages d’aide à la navigation</source>
        <translation>Meldungen zu Navigationshilfen</translation>
    </message>
    <message>
        <source>Autres messages</source>
        <translation>Andere Meldungen</translation>
    </message>
    <message>
        <source>Avertissement supplémentaires</source>
        <translation>Weitere Navigationswarnungen</translation>
    </message>
    <message>
        <source>Messages restants</source>
        <translation>Übrige Meldungen</translation>
    </message>
    <message>
        <source> · reçu le </source>
        <translation> · empfangen am </translation>
    </message>
    <message>
        <source> à </source>
        <translation> um </translation>
    </message>
    <message>
        <source> · n’est plus sur le récepteur</source>
        <translation> · nicht mehr auf dem Empfänger</translation>
    </message>
</context>
<context>
    <name>palette</name>
    <message>
        <source>jour</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>crépuscule</source>
        <translation>Dämmerung</translation>
    </message>
    <message>
        <source>nuit</source>
        <translation>Nacht</translation>
    </message>
</context>
<context>
    <name>stations</name>
    <message>
        <source>station </source>
        <translation>Station </translation>
    </message>
    <message>
        <source> ou </source>
        <translation> oder </translation>
    </message>
</context>
<context>
    <name>update</name>
    <message>
        <source>ZEL2 non trouvé. Veuillez vérifier la connection du câble. Le PC doit fonctionner en mode administrateur!</source>
        <translation>ZEL2 nicht gefunden. Bitte prüfen Sie die Kabelverbindung. Der PC muss im Administratormodus laufen!</translation>
    </message>
    <message>
        <source>Transmettre les données firmware ...</source>
        <translation>Firmware-Daten werden übertragen ...</translation>
    </message>
    <message>
        <source>Vérification des données firmware ...</source>
        <translation>Firmware-Daten werden geprüft ...</translation>
    </message>
    <message>
        <source>Demarrage programmer ...</source>
        <translation>Programmierung wird gestartet ...</translation>
    </message>
    <message>
        <source>La mise à jour a été réalisée avec succès!</source>
        <translation>Die Aktualisierung wurde erfolgreich durchgeführt!</translation>
    </message>
    <message>
        <source>Erreur! Mise à jour abandonner!</source>
        <translation>Fehler! Aktualisierung abgebrochen!</translation>
    </message>
    <message>
        <source>Erreur! La commande de démarrage n&apos;a pas atteint le récepteur. Mise à jour abandonner!</source>
        <translation>Fehler! Der Startbefehl hat den Empfänger nicht erreicht. Aktualisierung abgebrochen!</translation>
    </message>
    <message>
        <source>Erreur! Le fichier du récepteur est plus petit que ne le prévoit le firmware. Rien n&apos;a été écrit. Mise à jour abandonner!</source>
        <translation>Fehler! Die Datei des Empfängers ist kleiner, als die Firmware vorsieht. Nichts wurde geschrieben. Aktualisierung abgebrochen!</translation>
    </message>
    <message>
        <source>famille de récepteurs inconnue</source>
        <translation>unbekannte Empfängerfamilie</translation>
    </message>
    <message>
        <source>version invalide</source>
        <translation>ungültige Version</translation>
    </message>
    <message>
        <source>origine inconnue</source>
        <translation>unbekannte Herkunft</translation>
    </message>
    <message>
        <source>Aucun firmware ne convient à ce récepteur.</source>
        <translation>Keine Firmware passt zu diesem Empfänger.</translation>
    </message>
    <message>
        <source> Mise à jour abandonner!</source>
        <translation> Aktualisierung abgebrochen!</translation>
    </message>
    <message>
        <source>le paquet est incomplet (%1)</source>
        <translation>das Paket ist unvollständig (%1)</translation>
    </message>
    <message>
        <source>le fichier %1 n&apos;est pas %2</source>
        <translation>die Datei %1 ist nicht %2</translation>
    </message>
    <message>
        <source>%1 manque ou est illisible</source>
        <translation>%1 fehlt oder ist unlesbar</translation>
    </message>
    <message>
        <source>la clé « %1 » figure deux fois dans %2</source>
        <translation>der Schlüssel „%1“ steht zweimal in %2</translation>
    </message>
    <message>
        <source>la taille de %1 n&apos;est pas celle de l&apos;image (%2 octets)</source>
        <translation>die Größe von %1 ist nicht die des Abbilds (%2 Byte)</translation>
    </message>
    <message>
        <source>la somme SHA-256 de %1 est invalide</source>
        <translation>die SHA-256-Summe von %1 ist ungültig</translation>
    </message>
    <message>
        <source>le fichier %1 manque ou est illisible</source>
        <translation>die Datei %1 fehlt oder ist unlesbar</translation>
    </message>
    <message>
        <source>le fichier %1 n&apos;a pas la taille annoncée</source>
        <translation>die Datei %1 hat nicht die angegebene Größe</translation>
    </message>
    <message>
        <source>la somme SHA-256 de %1 ne correspond pas</source>
        <translation>die SHA-256-Summe von %1 stimmt nicht</translation>
    </message>
    <message>
        <source>le préambule %1 manque ou est invalide</source>
        <translation>die Präambel %1 fehlt oder ist ungültig</translation>
    </message>
    <message>
        <source>le préambule %1 dépasse la fin du fichier %2</source>
        <translation>die Präambel %1 reicht über das Ende der Datei %2 hinaus</translation>
    </message>
    <message>
        <source>Paquet firmware refusé (%1) : %2.</source>
        <translation>Firmware-Paket abgelehnt (%1): %2.</translation>
    </message>
    <message>
        <source>Aucun firmware n&apos;est installé pour le %1. Installez le paquet firmware du %1 dans %2.</source>
        <translation>Für den %1 ist keine Firmware installiert. Installieren Sie das Firmware-Paket des %1 in %2.</translation>
    </message>
    <message>
        <source>Le paquet firmware installé est destiné au %1, pas au %2. Installez le paquet du %2 dans %3.</source>
        <translation>Das installierte Firmware-Paket ist für den %1 bestimmt, nicht für den %2. Installieren Sie das Paket des %2 in %3.</translation>
    </message>
</context>
<context>
    <name>urgency</name>
    <message>
        <source>détresse : recherche et sauvetage ou message vital</source>
        <translation>Notfall: Suche und Rettung oder lebenswichtige Meldung</translation>
    </message>
    <message>
        <source>avertissement de navigation près du bateau</source>
        <translation>Navigationswarnung nahe dem Boot</translation>
    </message>
    <message>
        <source>avis de coup de vent</source>
        <translation>Sturmwarnung</translation>
    </message>
</context>
</TS>
