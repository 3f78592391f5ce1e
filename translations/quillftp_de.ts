<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Cli</name>
    <message>
        <source>usage: quillftp-cli [OPTIONS] COMMAND ...
  ls URL                 list a remote directory (kind, size, name; --long for the pane&apos;s columns)
  get URL [LOCALDIR]     download a file, or a whole tree when URL ends with &quot;/&quot;
  put LOCALPATH URL      upload a file or a tree into the remote directory URL
  mkdir URL | rm URL | rmdir URL | mv URL NEWPATH | chmod MODE URL
  rm -r URL              delete a file, or a directory with everything in it
  broken                 list the saved broken lists
  sites                  the sites of the site book, as site:CLASS/NAME
  resume N               resume broken list N (as numbered by broken)
  sync [--up|--down|--both] [--delete] [--dry-run] [--by-hash] [--plan FILE] LOCALDIR URL
                         make a local and a remote folder alike: --up the remote one like the local one,
                         --down the other way, --both (default) each side takes what changed on the other;
                         the plan is printed; --dry-run changes nothing; --plan FILE keeps it (JSON) and
                         changes nothing; --delete deletes what is gone on the leading side
  sync --apply FILE      carry out a kept plan, refused when either folder changed since
  history [--failed] [--csv]   the files of past runs, newest first (UTC time, get|put, state, size,
                         remote address, local path; --csv: every column as CSV)
URL: ftp://[user[:password]@]host[:port]/path  (the path is taken from the login directory; ftp://host/%2Fetc/ names /etc/)
     site:CLASS/NAME/path names a site of the site book (its address, user and password)
     a password in the URL can be read by other users: without one it comes from ~/.netrc, from
     --password-stdin, or is asked for on the terminal
     ftps://... for implicit TLS (port 990), ftpes://... for TLS required
options:
  -n, --connections N    connections to use (1-255)
  --split-size BYTES     downloads bigger than this are split into ranges
  --background           the main connection does not transfer
  --active | --passive   data connection mode
  --no-pipelining        one command at a time on the transfer connections
  --proxy HOST:PORT      through an FTP proxy; --proxy-type user@host|login, --proxy-user, --proxy-pass
  --socks4 | --socks4a | --socks5 HOST:PORT   through a SOCKS server; --socks-user, --socks-pass
  --retries K            tries of a failed login or transfer
  --limit-rate RATE      bytes per second each way for all connections together (K, M, G: 1024, 1024², 1024³)
  --timeout S            seconds a reply, or a data connection without progress, may take (0: no limit)
  --overwrite | --skip   what to do with existing local files (default: ask on a terminal, else skip)
  --log                  every connection&apos;s log lines on stderr
  --quiet                no progress line
  --data-dir DIR         where the settings, site book and broken lists live
  --tls auto|require|implicit|off   TLS: when the server offers it (default), required, from the first byte, never
  --trust SHA256         accept the server certificate with this fingerprint (as printed) though nothing vouches for it
  --netrc-file FILE      logins from FILE instead of ~/.netrc (readable by its owner only)
  --password-stdin       the password is the first line of standard input
  --json                 ls, get, put, sync: one JSON document on standard output (see the man page)
  --version              the program&apos;s version and the libraries it was built with
  -h, --help             this text
</source>
        <translation>Aufruf: quillftp-cli [OPTIONEN] BEFEHL ...
  ls URL                 ein entferntes Verzeichnis auflisten (Art, Größe, Name; --long für die Spalten der Ansicht)
  get URL [LOKALER_ORDNER]  eine Datei herunterladen, oder einen ganzen Baum, wenn URL auf &quot;/&quot; endet
  put LOKALER_PFAD URL   eine Datei oder einen Baum in das entfernte Verzeichnis URL hochladen
  mkdir URL | rm URL | rmdir URL | mv URL NEUER_PFAD | chmod MODUS URL
  rm -r URL              eine Datei löschen, oder ein Verzeichnis mit allem darin
  broken                 die gespeicherten abgebrochenen Listen auflisten
  sites                  die Sites des Adressbuchs, als site:KLASSE/NAME
  resume N               die abgebrochene Liste N fortsetzen (wie von broken nummeriert)
  sync [--up|--down|--both] [--delete] [--dry-run] [--by-hash] [--plan DATEI] LOKALER_ORDNER URL
                         einen lokalen und einen entfernten Ordner gleich machen: --up den entfernten wie den lokalen,
                         --down umgekehrt, --both (Vorgabe) jede Seite übernimmt, was sich auf der anderen geändert hat;
                         der Plan wird ausgegeben; --dry-run ändert nichts; --plan DATEI speichert ihn (JSON) und
                         ändert nichts; --delete löscht, was auf der führenden Seite fehlt
  sync --apply DATEI     einen gespeicherten Plan ausführen; abgelehnt, wenn sich ein Ordner seitdem geändert hat
  history [--failed] [--csv]   die Dateien früherer Läufe, neueste zuerst (UTC-Zeit, get|put, Status, Größe,
                         entfernte Adresse, lokaler Pfad; --csv: jede Spalte als CSV)
URL: ftp://[benutzer[:passwort]@]host[:port]/pfad  (der Pfad gilt ab dem Anmeldeverzeichnis; ftp://host/%2Fetc/ nennt /etc/)
     site:KLASSE/NAME/pfad nennt eine Site des Adressbuchs (ihre Adresse, Benutzer und Passwort)
     ein Passwort in der URL können andere Benutzer lesen: ohne eines kommt es aus ~/.netrc, von
     --password-stdin, oder wird am Terminal erfragt
     ftps://... für implizites TLS (Port 990), ftpes://... für verlangtes TLS
Optionen:
  -n, --connections N    zu verwendende Verbindungen (1-255)
  --split-size BYTES     größere Downloads werden in Bereiche geteilt
  --background           die Hauptverbindung überträgt nicht
  --active | --passive   Modus der Datenverbindung
  --no-pipelining        ein Befehl nach dem anderen auf den Übertragungsverbindungen
  --proxy HOST:PORT      über einen FTP-Proxy; --proxy-type user@host|login, --proxy-user, --proxy-pass
  --socks4 | --socks4a | --socks5 HOST:PORT   über einen SOCKS-Server; --socks-user, --socks-pass
  --retries K            Versuche einer fehlgeschlagenen Anmeldung oder Übertragung
  --limit-rate RATE      Bytes pro Sekunde je Richtung für alle Verbindungen zusammen (K, M, G: 1024, 1024², 1024³)
  --timeout S            Sekunden, die eine Antwort oder eine Datenverbindung ohne Fortschritt dauern darf (0: keine Grenze)
  --overwrite | --skip   was mit vorhandenen lokalen Dateien geschieht (Vorgabe: am Terminal fragen, sonst überspringen)
  --log                  die Protokollzeilen jeder Verbindung auf stderr
  --quiet                keine Fortschrittszeile
  --data-dir DIR         wo Einstellungen, Adressbuch und abgebrochene Listen liegen
  --tls auto|require|implicit|off   TLS: wenn der Server es anbietet (Vorgabe), verlangt, ab dem ersten Byte, nie
  --trust SHA256         das Serverzertifikat mit diesem Fingerabdruck (wie ausgegeben) annehmen, obwohl niemand dafür bürgt
  --netrc-file DATEI     Anmeldungen aus DATEI statt aus ~/.netrc (nur für den Eigentümer lesbar)
  --password-stdin       das Passwort ist die erste Zeile der Standardeingabe
  --json                 ls, get, put, sync: ein JSON-Dokument auf der Standardausgabe (siehe Handbuchseite)
  --version              die Version des Programms und die Bibliotheken, mit denen es gebaut wurde
  -h, --help             dieser Text
</translation>
    </message>
    <message>
        <source>the connection count must lie between 1 and 255: </source>
        <translation>die Anzahl der Verbindungen muss zwischen 1 und 255 liegen: </translation>
    </message>
    <message>
        <source>the split size must be a number of bytes: </source>
        <translation>die Teilungsgröße muss eine Anzahl von Bytes sein: </translation>
    </message>
    <message>
        <source>the rate must be bytes per second, or a number with K, M or G: </source>
        <translation>die Rate muss in Bytes pro Sekunde angegeben werden, oder als Zahl mit K, M oder G: </translation>
    </message>
    <message>
        <source>the retry count must lie between 0 and 1000: </source>
        <translation>die Anzahl der Wiederholungen muss zwischen 0 und 1000 liegen: </translation>
    </message>
    <message>
        <source>the timeout must be a number of seconds between 0 and 86400: </source>
        <translation>die Zeitgrenze muss eine Anzahl von Sekunden zwischen 0 und 86400 sein: </translation>
    </message>
    <message>
        <source>--proxy needs HOST:PORT: </source>
        <translation>--proxy braucht HOST:PORT: </translation>
    </message>
    <message>
        <source>--proxy-type is user@host or login: </source>
        <translation>--proxy-type ist user@host oder login: </translation>
    </message>
    <message>
        <source>--tls is auto, require, implicit or off: </source>
        <translation>--tls ist auto, require, implicit oder off: </translation>
    </message>
    <message>
        <source>%1 needs HOST:PORT: %2</source>
        <translation>%1 braucht HOST:PORT: %2</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command </source>
        <translation>unbekannter Befehl </translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 oder %2</translation>
    </message>
    <message>
        <source>%1 takes %2 operand, not %3</source>
        <translation>%1 nimmt %2 Operand, nicht %3</translation>
    </message>
    <message>
        <source>%1 takes %2 operands, not %3</source>
        <translation>%1 nimmt %2 Operanden, nicht %3</translation>
    </message>
    <message>
        <source>--json goes with ls, get, put and sync</source>
        <translation>--json gehört zu ls, get, put und sync</translation>
    </message>
    <message>
        <source>--up, --down, --both, --delete, --dry-run, --by-hash, --plan and --apply go with sync</source>
        <translation>--up, --down, --both, --delete, --dry-run, --by-hash, --plan und --apply gehören zu sync</translation>
    </message>
    <message>
        <source>sync takes LOCALDIR URL</source>
        <translation>sync nimmt LOKALER_ORDNER URL</translation>
    </message>
    <message>
        <source>sync --apply FILE takes no folders: the plan names them</source>
        <translation>sync --apply DATEI nimmt keine Ordner: der Plan nennt sie</translation>
    </message>
    <message>
        <source>sync --apply carries out the plan as it is: --up, --down, --both, --delete and --plan do not go with it</source>
        <translation>sync --apply führt den Plan so aus, wie er ist: --up, --down, --both, --delete und --plan gehören nicht dazu</translation>
    </message>
    <message>
        <source>-r goes with rm only</source>
        <translation>-r gehört nur zu rm</translation>
    </message>
    <message>
        <source>--proxy and a SOCKS server cannot be used together</source>
        <translation>--proxy und ein SOCKS-Server können nicht zusammen verwendet werden</translation>
    </message>
    <message>
        <source>unknown option </source>
        <translation>unbekannte Option </translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>Option %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>not an ftp:// or sftp:// address: </source>
        <translation>keine ftp://- oder sftp://-Adresse: </translation>
    </message>
    <message>
        <source>the site %1 holds no address</source>
        <translation>die Site %1 enthält keine Adresse</translation>
    </message>
    <message>
        <source>no site %1 in the site book %2 (site:CLASS/NAME/path)</source>
        <translation>keine Site %1 im Adressbuch %2 (site:KLASSE/NAME/pfad)</translation>
    </message>
    <message>
        <source>interrupted; stopping the transfers (Ctrl-C again to quit at once)</source>
        <translation>unterbrochen; die Übertragungen werden angehalten (noch einmal Strg-C beendet sofort)</translation>
    </message>
    <message>
        <source>%1&apos;s password: </source>
        <translation>Passwort für %1: </translation>
    </message>
    <message>
        <source>no password given for %1 (in ~/.netrc, with --password-stdin or on a terminal)</source>
        <translation>kein Passwort für %1 angegeben (in ~/.netrc, mit --password-stdin oder am Terminal)</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>unterbrochen</translation>
    </message>
    <message>
        <source>no such remote directory: </source>
        <translation>kein solches entferntes Verzeichnis: </translation>
    </message>
    <message>
        <source>cannot change to the remote directory %1: %2</source>
        <translation>Wechsel in das entfernte Verzeichnis %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>Server Connection Failed.</source>
        <translation>Verbindung zum Server fehlgeschlagen.</translation>
    </message>
    <message>
        <source>logged in to %1, but %2 failed: %3</source>
        <translation>bei %1 angemeldet, aber %2 fehlgeschlagen: %3</translation>
    </message>
    <message>
        <source>login to %1 failed at %2: %3</source>
        <translation>Anmeldung bei %1 fehlgeschlagen bei %2: %3</translation>
    </message>
    <message>
        <source>login to %1 failed: %2</source>
        <translation>Anmeldung bei %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>warning: a password in the address can be read by other users of this machine; ~/.netrc, --password-stdin or the terminal keep it to you</source>
        <translation>Warnung: ein Passwort in der Adresse können andere Benutzer dieses Rechners lesen; ~/.netrc, --password-stdin oder das Terminal halten es geheim</translation>
    </message>
    <message>
        <source>the address names no file or directory: </source>
        <translation>die Adresse nennt keine Datei und kein Verzeichnis: </translation>
    </message>
    <message>
        <source>no such remote file or directory: </source>
        <translation>keine solche entfernte Datei und kein solches Verzeichnis: </translation>
    </message>
    <message>
        <source>not fetched: %1/: not a name a local directory can have</source>
        <translation>nicht geholt: %1/: kein Name, den ein lokales Verzeichnis haben kann</translation>
    </message>
    <message>
        <source>not fetched: %1/: the server calls it &quot;%2&quot;</source>
        <translation>nicht geholt: %1/: der Server nennt es „%2“</translation>
    </message>
    <message>
        <source>not fetched: %1/: its local path lies outside %2</source>
        <translation>nicht geholt: %1/: sein lokaler Pfad liegt außerhalb von %2</translation>
    </message>
    <message>
        <source>cannot create the local directory </source>
        <translation>das lokale Verzeichnis kann nicht angelegt werden: </translation>
    </message>
    <message>
        <source>nothing was transferred</source>
        <translation>nichts wurde übertragen</translation>
    </message>
    <message>
        <source>%1 bytes in %2 s (%3 MiB/s)</source>
        <translation>%1 Bytes in %2 s (%3 MiB/s)</translation>
    </message>
    <message>
        <source>not completed: </source>
        <translation>nicht vollständig: </translation>
    </message>
    <message>
        <source>not fetched: </source>
        <translation>nicht geholt: </translation>
    </message>
    <message>
        <source>1 item</source>
        <translation>1 Eintrag</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 Einträge</translation>
    </message>
    <message>
        <source>%1 did not complete</source>
        <translation>%1 nicht vollständig</translation>
    </message>
    <message>
        <source>%1 did not complete; resume with: quillftp-cli resume %2</source>
        <translation>%1 nicht vollständig; fortsetzen mit: quillftp-cli resume %2</translation>
    </message>
    <message>
        <source>%1 could not be fetched</source>
        <translation>%1 konnten nicht geholt werden</translation>
    </message>
    <message>
        <source>%1 did not run</source>
        <translation>%1 wurde nicht ausgeführt</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>no such local file or directory: </source>
        <translation>keine solche lokale Datei und kein solches Verzeichnis: </translation>
    </message>
    <message>
        <source>not a regular file: </source>
        <translation>keine reguläre Datei: </translation>
    </message>
    <message>
        <source>cannot read the local directory of </source>
        <translation>das lokale Verzeichnis kann nicht gelesen werden: </translation>
    </message>
    <message>
        <source>the address names no directory: </source>
        <translation>die Adresse nennt kein Verzeichnis: </translation>
    </message>
    <message>
        <source>%1 is not a directory (use rm)</source>
        <translation>%1 ist kein Verzeichnis (rm verwenden)</translation>
    </message>
    <message>
        <source>%1 is a directory (use rmdir, or rm -r)</source>
        <translation>%1 ist ein Verzeichnis (rmdir oder rm -r verwenden)</translation>
    </message>
    <message>
        <source>the mode must be three or four octal digits, such as 644: </source>
        <translation>der Modus muss aus drei oder vier Oktalziffern bestehen, etwa 644: </translation>
    </message>
    <message>
        <source>no broken lists</source>
        <translation>keine abgebrochenen Listen</translation>
    </message>
    <message>
        <source>no broken list %1 (%2 saved; quillftp-cli broken lists them)</source>
        <translation>keine abgebrochene Liste %1 (%2 gespeichert; quillftp-cli broken listet sie)</translation>
    </message>
    <message>
        <source>login failed; the broken list is kept</source>
        <translation>Anmeldung fehlgeschlagen; die abgebrochene Liste bleibt erhalten</translation>
    </message>
    <message>
        <source>login failed: %1; the broken list is kept</source>
        <translation>Anmeldung fehlgeschlagen: %1; die abgebrochene Liste bleibt erhalten</translation>
    </message>
    <message>
        <source>plan: </source>
        <translation>Plan: </translation>
    </message>
    <message>
        <source>cannot read the plan </source>
        <translation>der Plan kann nicht gelesen werden: </translation>
    </message>
    <message>
        <source>no such local directory: </source>
        <translation>kein solches lokales Verzeichnis: </translation>
    </message>
    <message>
        <source>cannot write the plan to </source>
        <translation>der Plan kann nicht geschrieben werden nach </translation>
    </message>
    <message>
        <source>the plan is in %1; carry it out with: quillftp-cli sync --apply %1</source>
        <translation>der Plan liegt in %1; ausführen mit: quillftp-cli sync --apply %1</translation>
    </message>
    <message>
        <source>not done: </source>
        <translation>nicht erledigt: </translation>
    </message>
    <message>
        <source>%1 action done</source>
        <translation>%1 Aktion erledigt</translation>
    </message>
    <message>
        <source>%1 actions done</source>
        <translation>%1 Aktionen erledigt</translation>
    </message>
    <message>
        <source>%1 not done</source>
        <translation>%1 nicht erledigt</translation>
    </message>
    <message>
        <source>; the state of the folders was not kept</source>
        <translation>; der Zustand der Ordner wurde nicht gespeichert</translation>
    </message>
    <message>
        <source>%1 conflict is left for you to resolve</source>
        <translation>%1 Konflikt bleibt für Sie zu lösen</translation>
    </message>
    <message>
        <source>%1 conflicts are left for you to resolve</source>
        <translation>%1 Konflikte bleiben für Sie zu lösen</translation>
    </message>
    <message>
        <source>the certificate of %1 is not trusted (%2)</source>
        <translation>dem Zertifikat von %1 wird nicht vertraut (%2)</translation>
    </message>
    <message>
        <source>  subject: </source>
        <translation>  Inhaber:   </translation>
    </message>
    <message>
        <source>  issuer:  </source>
        <translation>  Aussteller: </translation>
    </message>
    <message>
        <source>  valid:   </source>
        <translation>  gültig:    </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>  (not the certificate --trust names)</source>
        <translation>  (nicht das Zertifikat, das --trust nennt)</translation>
    </message>
    <message>
        <source>to connect to it anyway, add --trust </source>
        <translation>um trotzdem zu verbinden, --trust hinzufügen: </translation>
    </message>
    <message>
        <source>the host key of %1 is unknown (%2)</source>
        <translation>der Hostschlüssel von %1 ist unbekannt (%2)</translation>
    </message>
    <message>
        <source>  (not the key --trust names)</source>
        <translation>  (nicht der Schlüssel, den --trust nennt)</translation>
    </message>
    <message>
        <source>Passphrase for %1: </source>
        <translation>Passphrase für %1: </translation>
    </message>
    <message>
        <source>This local file exists!</source>
        <translation>Diese lokale Datei existiert!</translation>
    </message>
    <message>
        <source>[o]verwrite, overwrite [a]ll, [s]kip, skip a[l]l? </source>
        <translation>[o] überschreiben, [a]lle überschreiben, [s] überspringen, a[l]le überspringen? </translation>
    </message>
    <message>
        <source>%1 may be read or changed by other users: not used (chmod 600 %1)</source>
        <translation>%1 können andere Benutzer lesen oder ändern: nicht verwendet (chmod 600 %1)</translation>
    </message>
    <message>
        <source>: cannot be read</source>
        <translation>: kann nicht gelesen werden</translation>
    </message>
    <message>
        <source> (quillftp-cli --help shows the usage)</source>
        <translation> (quillftp-cli --help zeigt die Verwendung)</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>no reply within %1 seconds to a command sent ahead</source>
        <translation>keine Antwort binnen %1 Sekunden auf einen vorausgeschickten Befehl</translation>
    </message>
    <message>
        <source>no data moved for %1 seconds</source>
        <translation>seit %1 Sekunden wurden keine Daten bewegt</translation>
    </message>
    <message>
        <source>no reply within %1 seconds</source>
        <translation>keine Antwort binnen %1 Sekunden</translation>
    </message>
    <message>
        <source>Timeout: </source>
        <translation>Zeitüberschreitung: </translation>
    </message>
    <message>
        <source>! Reply line too long, cut to %1 bytes</source>
        <translation>! Antwortzeile zu lang, gekürzt auf %1 Bytes</translation>
    </message>
    <message>
        <source>! The server closed the connection after the range was complete</source>
        <translation>! Der Server hat die Verbindung geschlossen, nachdem der Bereich vollständig war</translation>
    </message>
    <message>
        <source>! The reply to %1, sent ahead, is not needed</source>
        <translation>! Die Antwort auf das vorausgeschickte %1 wird nicht gebraucht</translation>
    </message>
    <message>
        <source>TLS if the server offers it</source>
        <translation>TLS, wenn der Server es anbietet</translation>
    </message>
    <message>
        <source>require TLS</source>
        <translation>TLS verlangen</translation>
    </message>
    <message>
        <source>implicit TLS</source>
        <translation>implizites TLS</translation>
    </message>
    <message>
        <source>plain FTP</source>
        <translation>reines FTP</translation>
    </message>
    <message>
        <source>The server refused TLS (%1): TLS is required, so the login stops before the password is sent</source>
        <translation>Der Server hat TLS abgelehnt (%1): TLS ist verlangt, also endet die Anmeldung, bevor das Passwort gesendet wird</translation>
    </message>
    <message>
        <source>! The server does not offer TLS: the login goes on in plain FTP</source>
        <translation>! Der Server bietet kein TLS an: die Anmeldung geht mit reinem FTP weiter</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted (%1)</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut (%1)</translation>
    </message>
    <message>
        <source>%1, certificate SHA-256 %2</source>
        <translation>%1, Zertifikat SHA-256 %2</translation>
    </message>
    <message>
        <source> (%1, accepted)</source>
        <translation> (%1, angenommen)</translation>
    </message>
    <message>
        <source>The server refused to protect data connections (%1)</source>
        <translation>Der Server hat abgelehnt, Datenverbindungen zu schützen (%1)</translation>
    </message>
    <message>
        <source>! The server refused to protect data connections: file data goes unencrypted</source>
        <translation>! Der Server hat abgelehnt, Datenverbindungen zu schützen: Dateidaten gehen unverschlüsselt</translation>
    </message>
    <message>
        <source>! Data connection: </source>
        <translation>! Datenverbindung: </translation>
    </message>
    <message>
        <source>the data connection&apos;s certificate is not the server&apos;s</source>
        <translation>das Zertifikat der Datenverbindung ist nicht das des Servers</translation>
    </message>
    <message>
        <source>! Refused a data connection: </source>
        <translation>! Datenverbindung abgelehnt: </translation>
    </message>
    <message>
        <source>! Abort requested</source>
        <translation>! Abbruch angefordert</translation>
    </message>
    <message>
        <source>%1 bytes received/sent in %2 seconds</source>
        <translation>%1 Bytes empfangen/gesendet in %2 Sekunden</translation>
    </message>
    <message>
        <source> (%1 Bytes/sec)</source>
        <translation> (%1 Bytes/s)</translation>
    </message>
    <message>
        <source>! Refused a data connection from %1 (the server is %2)</source>
        <translation>! Datenverbindung von %1 abgelehnt (der Server ist %2)</translation>
    </message>
    <message>
        <source>! The server sent more than the file holds from offset %1: it did not start where REST asked</source>
        <translation>! Der Server hat ab Position %1 mehr gesendet, als die Datei enthält: er hat nicht dort begonnen, wo REST es verlangte</translation>
    </message>
    <message>
        <source>! Error writing local file: </source>
        <translation>! Fehler beim Schreiben der lokalen Datei: </translation>
    </message>
    <message>
        <source>! Data: Receive error </source>
        <translation>! Daten: Empfangsfehler </translation>
    </message>
    <message>
        <source>! More than %1 MiB received: given up</source>
        <translation>! Mehr als %1 MiB empfangen: aufgegeben</translation>
    </message>
    <message>
        <source>! Error #%1 sending data</source>
        <translation>! Fehler #%1 beim Senden der Daten</translation>
    </message>
    <message>
        <source>! Error reading file: </source>
        <translation>! Fehler beim Lesen der Datei: </translation>
    </message>
    <message>
        <source>! RETR/LIST/NLST Failed</source>
        <translation>! RETR/LIST/NLST fehlgeschlagen</translation>
    </message>
    <message>
        <source>! STOR Failed</source>
        <translation>! STOR fehlgeschlagen</translation>
    </message>
    <message>
        <source>the history %1 cannot be opened: %2</source>
        <translation>der Verlauf %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the history %1 cannot be written: %2</source>
        <translation>der Verlauf %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the history %1 cannot be read: %2</source>
        <translation>der Verlauf %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>! The server refused MLSD: listings come by LIST</source>
        <translation>! Der Server hat MLSD abgelehnt: Auflistungen kommen über LIST</translation>
    </message>
    <message>
        <source>Using Proxy Connecting to %1 ...</source>
        <translation>Verbinde über Proxy mit %1 ...</translation>
    </message>
    <message>
        <source>Using Socks Connecting to %1 ...</source>
        <translation>Verbinde über SOCKS mit %1 ...</translation>
    </message>
    <message>
        <source>Connecting to %1 ...</source>
        <translation>Verbinde mit %1 ...</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for it (trusted SHA-256 %2, now SHA-256 %3): refused</source>
        <translation>Das Zertifikat von %1 ist nicht das, dem für diese Site vertraut wird (vertraut SHA-256 %2, jetzt SHA-256 %3): abgelehnt</translation>
    </message>
    <message>
        <source>! The trusted certificate could not be saved: it is trusted for this run only</source>
        <translation>! Das vertrauenswürdige Zertifikat konnte nicht gespeichert werden: ihm wird nur für diesen Lauf vertraut</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted (%2): not connected</source>
        <translation>Dem Zertifikat von %1 wird nicht vertraut (%2): nicht verbunden</translation>
    </message>
    <message>
        <source>User Aborted</source>
        <translation>Vom Benutzer abgebrochen</translation>
    </message>
    <message>
        <source>Connection Lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>! The server did not take commands sent together: one command at a time from now on</source>
        <translation>! Der Server hat zusammen gesendete Befehle nicht angenommen: ab jetzt ein Befehl nach dem anderen</translation>
    </message>
    <message>
        <source>! Login failed: </source>
        <translation>! Anmeldung fehlgeschlagen: </translation>
    </message>
    <message>
        <source>! Commands sent ahead are not needed any more: the connection closes</source>
        <translation>! Vorausgeschickte Befehle werden nicht mehr gebraucht: die Verbindung wird geschlossen</translation>
    </message>
    <message>
        <source>! The server lists no directory by its path: CWD first from now on</source>
        <translation>! Der Server listet kein Verzeichnis über seinen Pfad: ab jetzt zuerst CWD</translation>
    </message>
    <message>
        <source>the greeting</source>
        <translation>die Begrüßung</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>the login</source>
        <translation>die Anmeldung</translation>
    </message>
    <message>
        <source>Server Connection Failed.</source>
        <translation>Verbindung zum Server fehlgeschlagen.</translation>
    </message>
    <message>
        <source>! The connection was lost at </source>
        <translation>! Die Verbindung ging verloren bei </translation>
    </message>
    <message>
        <source>Retry Connection...</source>
        <translation>Neuer Verbindungsversuch...</translation>
    </message>
    <message>
        <source>! The reply to PWD names no directory</source>
        <translation>! Die Antwort auf PWD nennt kein Verzeichnis</translation>
    </message>
    <message>
        <source>the reply names no directory: </source>
        <translation>die Antwort nennt kein Verzeichnis: </translation>
    </message>
    <message>
        <source>Lost Connection, Please Reconnect</source>
        <translation>Verbindung verloren, bitte neu verbinden</translation>
    </message>
    <message>
        <source>the reply to PWD names no directory: </source>
        <translation>die Antwort auf PWD nennt kein Verzeichnis: </translation>
    </message>
    <message>
        <source>an unsafe name</source>
        <translation>ein unsicherer Name</translation>
    </message>
    <message>
        <source>the server calls it &quot;%1&quot;</source>
        <translation>der Server nennt es „%1“</translation>
    </message>
    <message>
        <source>the server calls it %1, a directory walked already</source>
        <translation>der Server nennt es %1, ein bereits durchlaufenes Verzeichnis</translation>
    </message>
    <message>
        <source>the server calls it %1, outside the walked tree</source>
        <translation>der Server nennt es %1, außerhalb des durchlaufenen Baums</translation>
    </message>
    <message>
        <source>the reply to PWD names no directory</source>
        <translation>die Antwort auf PWD nennt kein Verzeichnis</translation>
    </message>
    <message>
        <source>the same directory as %1, walked there</source>
        <translation>dasselbe Verzeichnis wie %1, dort durchlaufen</translation>
    </message>
    <message>
        <source>! No size for %1 (&quot;%2&quot;), counted as 0</source>
        <translation>! Keine Größe für %1 („%2“), als 0 gezählt</translation>
    </message>
    <message>
        <source>it lies deeper than </source>
        <translation>es liegt tiefer als </translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>die Verbindung ging verloren</translation>
    </message>
    <message>
        <source>! Not walked: %1</source>
        <translation>! Nicht durchlaufen: %1</translation>
    </message>
    <message>
        <source>! An FTP proxy does not carry SFTP: connecting without it</source>
        <translation>! Ein FTP-Proxy trägt kein SFTP: Verbindung ohne ihn</translation>
    </message>
    <message>
        <source>Connecting to %1 (SFTP) ...</source>
        <translation>Verbinde mit %1 (SFTP) ...</translation>
    </message>
    <message>
        <source>the server names no home directory</source>
        <translation>der Server nennt kein Home-Verzeichnis</translation>
    </message>
    <message>
        <source>listing of </source>
        <translation>Auflistung von </translation>
    </message>
    <message>
        <source>the server names no such directory</source>
        <translation>der Server kennt kein solches Verzeichnis</translation>
    </message>
    <message>
        <source>not an octal mode</source>
        <translation>kein oktaler Modus</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>the server gives no size</source>
        <translation>der Server nennt keine Größe</translation>
    </message>
    <message>
        <source>the server gives no time</source>
        <translation>der Server nennt keine Zeit</translation>
    </message>
    <message>
        <source>the server offers no file hashes</source>
        <translation>der Server bietet keine Datei-Prüfsummen an</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no octal mode</source>
        <translation>„%1“ ist kein oktaler Modus</translation>
    </message>
    <message>
        <source>more than %1 directories deep, left alone</source>
        <translation>mehr als %1 Verzeichnisse tief, unberührt gelassen</translation>
    </message>
    <message>
        <source>Deleting the contents of </source>
        <translation>Lösche den Inhalt von </translation>
    </message>
    <message>
        <source>the same directory as %1, left alone</source>
        <translation>dasselbe Verzeichnis wie %1, unberührt gelassen</translation>
    </message>
    <message>
        <source>an unsafe name, left alone</source>
        <translation>ein unsicherer Name, unberührt gelassen</translation>
    </message>
    <message>
        <source>the connection was closed during the TLS negotiation</source>
        <translation>die Verbindung wurde während der TLS-Aushandlung geschlossen</translation>
    </message>
    <message>
        <source>TLS error </source>
        <translation>TLS-Fehler </translation>
    </message>
    <message>
        <source>TLS negotiation failed</source>
        <translation>TLS-Aushandlung fehlgeschlagen</translation>
    </message>
    <message>
        <source>TLS receive failed</source>
        <translation>TLS-Empfang fehlgeschlagen</translation>
    </message>
    <message>
        <source>TLS send failed</source>
        <translation>TLS-Senden fehlgeschlagen</translation>
    </message>
    <message>
        <source>the server sent no certificate</source>
        <translation>der Server hat kein Zertifikat gesendet</translation>
    </message>
    <message>
        <source>local file: </source>
        <translation>lokale Datei: </translation>
    </message>
    <message>
        <source>connection lost: </source>
        <translation>Verbindung verloren: </translation>
    </message>
    <message>
        <source>no answer in %1 seconds</source>
        <translation>keine Antwort binnen %1 Sekunden</translation>
    </message>
    <message>
        <source>the server closed the SFTP channel</source>
        <translation>der Server hat den SFTP-Kanal geschlossen</translation>
    </message>
    <message>
        <source>the server sent a packet no SFTP packet is</source>
        <translation>der Server hat ein Paket gesendet, das kein SFTP-Paket ist</translation>
    </message>
    <message>
        <source>the server speaks SFTP version %1 only</source>
        <translation>der Server spricht nur SFTP-Version %1</translation>
    </message>
    <message>
        <source>the server answered a request never made (id %1)</source>
        <translation>der Server hat auf eine nie gestellte Anfrage geantwortet (ID %1)</translation>
    </message>
    <message>
        <source>! SFTP connection lost: </source>
        <translation>! SFTP-Verbindung verloren: </translation>
    </message>
    <message>
        <source>connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>SSH handshake</source>
        <translation>SSH-Handshake</translation>
    </message>
    <message>
        <source>host key</source>
        <translation>Hostschlüssel</translation>
    </message>
    <message>
        <source>authentication</source>
        <translation>Authentifizierung</translation>
    </message>
    <message>
        <source>SFTP channel</source>
        <translation>SFTP-Kanal</translation>
    </message>
    <message>
        <source>Connecting to %1 (SSH)</source>
        <translation>Verbinde mit %1 (SSH)</translation>
    </message>
    <message>
        <source>the connection could not be handed to SSH</source>
        <translation>die Verbindung konnte nicht an SSH übergeben werden</translation>
    </message>
    <message>
        <source>the server offers no SFTP subsystem: </source>
        <translation>der Server bietet kein SFTP-Subsystem an: </translation>
    </message>
    <message>
        <source>Host key %1</source>
        <translation>Hostschlüssel %1</translation>
    </message>
    <message>
        <source>the host key of %1 has changed: it showed %2, not the key kept for it in %3; if the server&apos;s key really changed, remove that line</source>
        <translation>der Hostschlüssel von %1 hat sich geändert: er zeigte %2, nicht den dafür in %3 gespeicherten Schlüssel; wenn sich der Schlüssel des Servers wirklich geändert hat, diese Zeile entfernen</translation>
    </message>
    <message>
        <source>the host key %1 is not the one trusted (%2)</source>
        <translation>der Hostschlüssel %1 ist nicht der vertrauenswürdige (%2)</translation>
    </message>
    <message>
        <source>the host key %1 is unknown; to trust it, give --trust %2</source>
        <translation>der Hostschlüssel %1 ist unbekannt; um ihm zu vertrauen, --trust %2 angeben</translation>
    </message>
    <message>
        <source>the host key %1 was not trusted</source>
        <translation>dem Hostschlüssel %1 wurde nicht vertraut</translation>
    </message>
    <message>
        <source>Logged in as </source>
        <translation>Angemeldet als </translation>
    </message>
    <message>
        <source>the server refused the login of %1 (it takes: %2)</source>
        <translation>der Server hat die Anmeldung von %1 abgelehnt (er nimmt: %2)</translation>
    </message>
    <message>
        <source>the server refused the login of %1 (it takes: %2; no password was given)</source>
        <translation>der Server hat die Anmeldung von %1 abgelehnt (er nimmt: %2; es wurde kein Passwort angegeben)</translation>
    </message>
    <message>
        <source>the SSH library failed</source>
        <translation>die SSH-Bibliothek ist gescheitert</translation>
    </message>
    <message>
        <source>! SSH %1 failed: %2</source>
        <translation>! SSH %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>a negative size</source>
        <translation>eine negative Größe</translation>
    </message>
    <message>
        <source>a negative offset</source>
        <translation>eine negative Position</translation>
    </message>
    <message>
        <source>an offset past the end of the file</source>
        <translation>eine Position hinter dem Dateiende</translation>
    </message>
    <message>
        <source>a range that ends before it begins</source>
        <translation>ein Bereich, der endet, bevor er beginnt</translation>
    </message>
    <message>
        <source>the list names no local directory</source>
        <translation>die Liste nennt kein lokales Verzeichnis</translation>
    </message>
    <message>
        <source>a local path that is not absolute</source>
        <translation>ein lokaler Pfad, der nicht absolut ist</translation>
    </message>
    <message>
        <source>a local path that is no plain file name</source>
        <translation>ein lokaler Pfad, der kein einfacher Dateiname ist</translation>
    </message>
    <message>
        <source>a local path outside </source>
        <translation>ein lokaler Pfad außerhalb von </translation>
    </message>
    <message>
        <source>no regular file to upload</source>
        <translation>keine reguläre Datei zum Hochladen</translation>
    </message>
    <message>
        <source>Local file can&apos;t access!</source>
        <translation>Auf die lokale Datei kann nicht zugegriffen werden!</translation>
    </message>
    <message>
        <source>the local file cannot be replaced</source>
        <translation>die lokale Datei kann nicht ersetzt werden</translation>
    </message>
    <message>
        <source>Disk free space not enough !<byte value="xd"/>Need space = %1<byte value="xd"/>We have free space = %2<byte value="xd"/>Please free some space then click Yes or click No for cancelling</source>
        <translation>Nicht genug freier Speicherplatz !<byte value="xd"/>Benötigt = %1<byte value="xd"/>Frei = %2<byte value="xd"/>Bitte Platz schaffen und dann Ja klicken, oder Nein zum Abbrechen</translation>
    </message>
    <message>
        <source>Space not enough</source>
        <translation>Nicht genug Platz</translation>
    </message>
    <message>
        <source>DOWNLOAD FAILED ! Check status to see more information</source>
        <translation>DOWNLOAD FEHLGESCHLAGEN ! Näheres im Status</translation>
    </message>
    <message>
        <source>not listed</source>
        <translation>nicht aufgelistet</translation>
    </message>
    <message>
        <source>not finished</source>
        <translation>nicht fertig</translation>
    </message>
    <message>
        <source>Skipped at the user&apos;s word: </source>
        <translation>Auf Wunsch des Benutzers übersprungen: </translation>
    </message>
    <message>
        <source>Will try %1 again at the user&apos;s word</source>
        <translation>Versuche %1 auf Wunsch des Benutzers erneut</translation>
    </message>
    <message>
        <source>the link leads to %1, outside the walked tree</source>
        <translation>die Verknüpfung führt zu %1, außerhalb des durchlaufenen Baums</translation>
    </message>
    <message>
        <source>the link leads to %1, a directory walked already</source>
        <translation>die Verknüpfung führt zu %1, einem bereits durchlaufenen Verzeichnis</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>sein lokaler Pfad liegt außerhalb von %1</translation>
    </message>
    <message>
        <source>its size, %1 bytes, is more than any file has</source>
        <translation>ihre Größe, %1 Bytes, ist größer als jede Datei</translation>
    </message>
    <message>
        <source>! Not queued: %1</source>
        <translation>! Nicht eingereiht: %1</translation>
    </message>
    <message>
        <source>! Not queued: %1 lies outside %2</source>
        <translation>! Nicht eingereiht: %1 liegt außerhalb von %2</translation>
    </message>
    <message>
        <source>the server sent from byte 0, not from the offset asked for</source>
        <translation>der Server hat ab Byte 0 gesendet, nicht ab der verlangten Position</translation>
    </message>
    <message>
        <source>! Only %1 of %2 bytes of %3 arrived</source>
        <translation>! Nur %1 von %2 Bytes von %3 sind angekommen</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes received</source>
        <translation>nur %1 von %2 Bytes empfangen</translation>
    </message>
    <message>
        <source>! %1 has %2 bytes, not %3 as listed</source>
        <translation>! %1 hat %2 Bytes, nicht %3 wie aufgelistet</translation>
    </message>
    <message>
        <source>it ended at byte %1, not %2</source>
        <translation>es endete bei Byte %1, nicht %2</translation>
    </message>
    <message>
        <source>! %1 ended at byte %2, not %3</source>
        <translation>! %1 endete bei Byte %2, nicht %3</translation>
    </message>
    <message>
        <source>, twice</source>
        <translation>, zweimal</translation>
    </message>
    <message>
        <source>Will fetch %1 once more from byte 0</source>
        <translation>Hole %1 noch einmal ab Byte 0</translation>
    </message>
    <message>
        <source>Will try %1 again (%2 of %3)</source>
        <translation>Versuche %1 erneut (%2 von %3)</translation>
    </message>
    <message>
        <source>Not completed: %1 (%2)</source>
        <translation>Nicht vollständig: %1 (%2)</translation>
    </message>
    <message>
        <source>; it comes again from byte 0 in one stream, and nothing more is fetched from an offset on this server</source>
        <translation>; sie kommt erneut ab Byte 0 in einem Strom, und von diesem Server wird nichts mehr ab einer Position geholt</translation>
    </message>
    <message>
        <source>! %1: %2 matches the server&apos;s</source>
        <translation>! %1: %2 stimmt mit dem des Servers überein</translation>
    </message>
    <message>
        <source>! %1: %2 differs from the server&apos;s</source>
        <translation>! %1: %2 weicht von dem des Servers ab</translation>
    </message>
    <message>
        <source>%1 differs from the server&apos;s, twice</source>
        <translation>%1 weicht zweimal von dem des Servers ab</translation>
    </message>
    <message>
        <source>Will try %1 again in one stream</source>
        <translation>Versuche %1 erneut in einem Strom</translation>
    </message>
    <message>
        <source>Logging in again</source>
        <translation>Erneute Anmeldung</translation>
    </message>
    <message>
        <source>! No modification time of %1 from the server</source>
        <translation>! Keine Änderungszeit von %1 vom Server</translation>
    </message>
    <message>
        <source>! No %1 of %2 from the server: not checked</source>
        <translation>! Kein %1 von %2 vom Server: nicht geprüft</translation>
    </message>
    <message>
        <source>! The server did not take the file&apos;s time</source>
        <translation>! Der Server hat die Zeit der Datei nicht übernommen</translation>
    </message>
</context>
<context>
    <name>Keyring</name>
    <message>
        <source>the keyring refused it</source>
        <translation>der Schlüsselbund hat es abgelehnt</translation>
    </message>
    <message>
        <source>The desktop&apos;s keyring cannot be reached (%1)</source>
        <translation>Der Schlüsselbund des Desktops ist nicht erreichbar (%1)</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Connect &amp;Once</source>
        <translation>&amp;Einmal verbinden</translation>
    </message>
    <message>
        <source>&amp;Trust Always</source>
        <translation>&amp;Immer vertrauen</translation>
    </message>
    <message>
        <source>Subject: %1
Issuer: %2
Valid from: %3
Valid until: %4
SHA-256 fingerprint:
%5</source>
        <translation>Inhaber: %1
Aussteller: %2
Gültig ab: %3
Gültig bis: %4
SHA-256-Fingerabdruck:
%5</translation>
    </message>
    <message>
        <source>Unknown Certificate</source>
        <translation>Unbekanntes Zertifikat</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted (%2).
Connect only if it is the server&apos;s own certificate.</source>
        <translation>Dem Zertifikat von %1 wird nicht vertraut (%2).
Verbinden Sie nur, wenn es das eigene Zertifikat des Servers ist.</translation>
    </message>
    <message>
        <source>Key Passphrase</source>
        <translation>Schlüssel-Passphrase</translation>
    </message>
    <message>
        <source>The passphrase of the SSH key %1:</source>
        <translation>Die Passphrase des SSH-Schlüssels %1:</translation>
    </message>
    <message>
        <source>Unknown Host Key</source>
        <translation>Unbekannter Hostschlüssel</translation>
    </message>
    <message>
        <source>The SSH host key of %1 is not known.
Connect only if it is the server&apos;s own key.</source>
        <translation>Der SSH-Hostschlüssel von %1 ist nicht bekannt.
Verbinden Sie nur, wenn es der eigene Schlüssel des Servers ist.</translation>
    </message>
    <message>
        <source>Key type: %1
Fingerprint:
%2</source>
        <translation>Schlüsseltyp: %1
Fingerabdruck:
%2</translation>
    </message>
</context>
<context>
    <name>Sync</name>
    <message>
        <source>%1 day</source>
        <translation>%1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>%1 minute</source>
        <translation>%1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 Sekunde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>no time on this side</source>
        <translation>keine Zeit auf dieser Seite</translation>
    </message>
    <message>
        <source>no time on the other side</source>
        <translation>keine Zeit auf der anderen Seite</translation>
    </message>
    <message>
        <source>the same to within %1</source>
        <translation>gleich bis auf %1</translation>
    </message>
    <message>
        <source>the server&apos;s time zone is not known: times within %1 cannot be ordered</source>
        <translation>die Zeitzone des Servers ist unbekannt: Zeiten innerhalb von %1 lassen sich nicht ordnen</translation>
    </message>
    <message>
        <source>a directory here, a file there</source>
        <translation>hier ein Verzeichnis, dort eine Datei</translation>
    </message>
    <message>
        <source>a file here, a directory there</source>
        <translation>hier eine Datei, dort ein Verzeichnis</translation>
    </message>
    <message>
        <source>%1 bytes here, %2 there</source>
        <translation>hier %1 Bytes, dort %2</translation>
    </message>
    <message>
        <source>; newer here</source>
        <translation>; hier neuer</translation>
    </message>
    <message>
        <source>; newer there</source>
        <translation>; dort neuer</translation>
    </message>
    <message>
        <source>no size on this side</source>
        <translation>keine Größe auf dieser Seite</translation>
    </message>
    <message>
        <source>no size on the other side</source>
        <translation>keine Größe auf der anderen Seite</translation>
    </message>
    <message>
        <source>no connection could list it</source>
        <translation>keine Verbindung konnte es auflisten</translation>
    </message>
    <message>
        <source>! Again: </source>
        <translation>! Noch einmal: </translation>
    </message>
    <message>
        <source>the listing failed</source>
        <translation>die Auflistung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>its listing holds exactly %1 entries, as a server that cuts listings short gives</source>
        <translation>seine Auflistung enthält genau %1 Einträge, wie sie ein Server liefert, der Auflistungen kürzt</translation>
    </message>
    <message>
        <source>more than %1 directories deep</source>
        <translation>mehr als %1 Verzeichnisse tief</translation>
    </message>
    <message>
        <source>the listing of %1 failed here: what it holds there is not known</source>
        <translation>die Auflistung von %1 ist hier fehlgeschlagen: was es dort enthält, ist unbekannt</translation>
    </message>
    <message>
        <source>the listing of %1 failed there: what it holds there is not known</source>
        <translation>die Auflistung von %1 ist dort fehlgeschlagen: was es dort enthält, ist unbekannt</translation>
    </message>
    <message>
        <source>the folder</source>
        <translation>der Ordner</translation>
    </message>
    <message>
        <source>a symbolic link here: links are not synchronized</source>
        <translation>hier eine symbolische Verknüpfung: Verknüpfungen werden nicht abgeglichen</translation>
    </message>
    <message>
        <source>a symbolic link there: links are not synchronized</source>
        <translation>dort eine symbolische Verknüpfung: Verknüpfungen werden nicht abgeglichen</translation>
    </message>
    <message>
        <source>below the symbolic link %1: not synchronized</source>
        <translation>unterhalb der symbolischen Verknüpfung %1: nicht abgeglichen</translation>
    </message>
    <message>
        <source>the same size, other content by digest</source>
        <translation>gleiche Größe, laut Prüfsumme anderer Inhalt</translation>
    </message>
    <message>
        <source>newer there: an older file does not replace it</source>
        <translation>dort neuer: eine ältere Datei ersetzt sie nicht</translation>
    </message>
    <message>
        <source>newer here: an older file does not replace it</source>
        <translation>hier neuer: eine ältere Datei ersetzt sie nicht</translation>
    </message>
    <message>
        <source>only here</source>
        <translation>nur hier</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>nur dort</translation>
    </message>
    <message>
        <source>only there; deletions were not asked for</source>
        <translation>nur dort; Löschungen wurden nicht verlangt</translation>
    </message>
    <message>
        <source>only here; deletions were not asked for</source>
        <translation>nur hier; Löschungen wurden nicht verlangt</translation>
    </message>
    <message>
        <source>newer here</source>
        <translation>hier neuer</translation>
    </message>
    <message>
        <source>newer there</source>
        <translation>dort neuer</translation>
    </message>
    <message>
        <source>: an older file does not replace a newer one</source>
        <translation>: eine ältere Datei ersetzt keine neuere</translation>
    </message>
    <message>
        <source>; which is newer cannot be told (%1): not replaced</source>
        <translation>; welche neuer ist, lässt sich nicht sagen (%1): nicht ersetzt</translation>
    </message>
    <message>
        <source>: not replaced</source>
        <translation>: nicht ersetzt</translation>
    </message>
    <message>
        <source>changed on both sides since the last synchronization</source>
        <translation>seit dem letzten Abgleich auf beiden Seiten geändert</translation>
    </message>
    <message>
        <source>; which is newer cannot be told (%1)</source>
        <translation>; welche neuer ist, lässt sich nicht sagen (%1)</translation>
    </message>
    <message>
        <source>; which is newer cannot be told</source>
        <translation>; welche neuer ist, lässt sich nicht sagen</translation>
    </message>
    <message>
        <source>changed here since the last synchronization</source>
        <translation>seit dem letzten Abgleich hier geändert</translation>
    </message>
    <message>
        <source>changed there since the last synchronization</source>
        <translation>seit dem letzten Abgleich dort geändert</translation>
    </message>
    <message>
        <source>deleted here since the last synchronization</source>
        <translation>seit dem letzten Abgleich hier gelöscht</translation>
    </message>
    <message>
        <source>deleted there since the last synchronization</source>
        <translation>seit dem letzten Abgleich dort gelöscht</translation>
    </message>
    <message>
        <source>deleted here since the last synchronization; deletions were not asked for</source>
        <translation>seit dem letzten Abgleich hier gelöscht; Löschungen wurden nicht verlangt</translation>
    </message>
    <message>
        <source>deleted there since the last synchronization; deletions were not asked for</source>
        <translation>seit dem letzten Abgleich dort gelöscht; Löschungen wurden nicht verlangt</translation>
    </message>
    <message>
        <source>not deleted: it still holds </source>
        <translation>nicht gelöscht: es enthält noch </translation>
    </message>
    <message>
        <source>the local listing of %1 failed</source>
        <translation>die lokale Auflistung von %1 ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the remote listing of </source>
        <translation>die entfernte Auflistung von </translation>
    </message>
    <message>
        <source>not deleted: </source>
        <translation>nicht gelöscht: </translation>
    </message>
    <message>
        <source>No deletions: %1.</source>
        <translation>Keine Löschungen: %1.</translation>
    </message>
    <message>
        <source>the local folder lists empty, where the last synchronization found %1 entries</source>
        <translation>der lokale Ordner ist leer, wo der letzte Abgleich %1 Einträge fand</translation>
    </message>
    <message>
        <source>the remote folder lists empty, where the last synchronization found %1 entries</source>
        <translation>der entfernte Ordner ist leer, wo der letzte Abgleich %1 Einträge fand</translation>
    </message>
    <message>
        <source>%1 to upload</source>
        <translation>%1 hochzuladen</translation>
    </message>
    <message>
        <source>%1 to download</source>
        <translation>%1 herunterzuladen</translation>
    </message>
    <message>
        <source>%1 remote directory to make</source>
        <translation>%1 entferntes Verzeichnis anzulegen</translation>
    </message>
    <message>
        <source>%1 remote directories to make</source>
        <translation>%1 entfernte Verzeichnisse anzulegen</translation>
    </message>
    <message>
        <source>%1 local directory to make</source>
        <translation>%1 lokales Verzeichnis anzulegen</translation>
    </message>
    <message>
        <source>%1 local directories to make</source>
        <translation>%1 lokale Verzeichnisse anzulegen</translation>
    </message>
    <message>
        <source>%1 remote to delete</source>
        <translation>%1 entfernt zu löschen</translation>
    </message>
    <message>
        <source>%1 local to delete</source>
        <translation>%1 lokal zu löschen</translation>
    </message>
    <message>
        <source>%1 skipped</source>
        <translation>%1 übersprungen</translation>
    </message>
    <message>
        <source>%1 conflict (left as it is)</source>
        <translation>%1 Konflikt (bleibt, wie er ist)</translation>
    </message>
    <message>
        <source>%1 conflicts (left as they are)</source>
        <translation>%1 Konflikte (bleiben, wie sie sind)</translation>
    </message>
    <message>
        <source> (%1 byte)</source>
        <translation> (%1 Byte)</translation>
    </message>
    <message>
        <source> (%1 bytes)</source>
        <translation> (%1 Bytes)</translation>
    </message>
    <message>
        <source>%1 unchanged</source>
        <translation>%1 unverändert</translation>
    </message>
    <message>
        <source>not a JSON document: </source>
        <translation>kein JSON-Dokument: </translation>
    </message>
    <message>
        <source>not a synchronization plan of this program</source>
        <translation>kein Abgleichsplan dieses Programms</translation>
    </message>
    <message>
        <source>an action the plan cannot name: </source>
        <translation>eine Aktion, die der Plan nicht benennen kann: </translation>
    </message>
    <message>
        <source>a path that leaves the folders: </source>
        <translation>ein Pfad, der die Ordner verlässt: </translation>
    </message>
    <message>
        <source>the plan names no folders</source>
        <translation>der Plan nennt keine Ordner</translation>
    </message>
    <message>
        <source>no such local directory: </source>
        <translation>kein solches lokales Verzeichnis: </translation>
    </message>
</context>
<context>
    <name>TAntiIdlePage</name>
    <message>
        <source>Anti Idle</source>
        <translation>Leerlaufschutz</translation>
    </message>
    <message>
        <source>Use there commands in random order</source>
        <translation>Diese Befehle in zufälliger Reihenfolge verwenden</translation>
    </message>
    <message>
        <source>&amp;Enable Anti Idle</source>
        <translation>Leerlaufschutz &amp;einschalten</translation>
    </message>
    <message>
        <source>Anti Idle &amp;Interval </source>
        <translation>&amp;Intervall des Leerlaufschutzes </translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Anti Idle Interval</source>
        <translation>Intervall des Leerlaufschutzes</translation>
    </message>
</context>
<context>
    <name>TAsciiExtensionPage</name>
    <message>
        <source>ASCII Extension</source>
        <translation>ASCII-Endungen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>ASCII extensions</source>
        <translation>ASCII-Endungen</translation>
    </message>
    <message>
        <source>Add Extension</source>
        <translation>Endung hinzufügen</translation>
    </message>
    <message>
        <source>New = </source>
        <translation>Neu = </translation>
    </message>
    <message>
        <source>This extension exists!</source>
        <translation>Diese Endung gibt es schon!</translation>
    </message>
</context>
<context>
    <name>TFontsPage</name>
    <message>
        <source>Fonts</source>
        <translation>Schriften</translation>
    </message>
    <message>
        <source>Program Font</source>
        <translation>Programmschrift</translation>
    </message>
    <message>
        <source>Set &amp;Program Font</source>
        <translation>&amp;Programmschrift wählen</translation>
    </message>
    <message>
        <source>Log Window Font</source>
        <translation>Schrift des Protokollfensters</translation>
    </message>
    <message>
        <source>Set &amp;Log Window Font</source>
        <translation>Schrift des Pro&amp;tokollfensters wählen</translation>
    </message>
    <message>
        <source>&amp;Reset Window Layout</source>
        <translation>Fensteranordnung &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>The window&apos;s size, splitters and columns as at the first start</source>
        <translation>Größe, Teiler und Spalten des Fensters wie beim ersten Start</translation>
    </message>
    <message>
        <source>Lines kept per log &amp;page</source>
        <translation>Zeilen je Protokoll&amp;seite</translation>
    </message>
    <message>
        <source>Lines kept per log page</source>
        <translation>Zeilen je Protokollseite</translation>
    </message>
</context>
<context>
    <name>TGeneralPage</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Upon Startup &amp;Launch Site Manager</source>
        <translation>Beim Start &amp;Site-Manager öffnen</translation>
    </message>
    <message>
        <source>Transferred files keep their &amp;modification time</source>
        <translation>Übertragene Dateien behalten ihre Ä&amp;nderungszeit</translation>
    </message>
    <message>
        <source>Send the next file&apos;s commands &amp;without waiting for replies</source>
        <translation>Befehle der nächsten Datei senden, &amp;ohne auf Antworten zu warten</translation>
    </message>
    <message>
        <source>As&amp;k before deleting (and then delete folders with their contents)</source>
        <translation>Vor dem Löschen &amp;fragen (und dann Ordner mit Inhalt löschen)</translation>
    </message>
    <message>
        <source>Keep passwords in the desktop&apos;s ke&amp;yring</source>
        <translation>Passwörter im &amp;Schlüsselbund des Desktops aufbewahren</translation>
    </message>
    <message>
        <source>&amp;Email Address for Anonymous</source>
        <translation>&amp;E-Mail-Adresse für anonyme Anmeldung</translation>
    </message>
    <message>
        <source>Connection &amp;Retry Times</source>
        <translation>&amp;Wiederholungen beim Verbinden</translation>
    </message>
    <message>
        <source>Seconds a reply may &amp;take (0: no limit)</source>
        <translation>Sekunden, die eine Antwort &amp;dauern darf (0: keine Grenze)</translation>
    </message>
    <message>
        <source>Seconds a transfer may &amp;stall (0: no limit)</source>
        <translation>Sekunden, die eine Übertragung &amp;stocken darf (0: keine Grenze)</translation>
    </message>
    <message>
        <source>Files the transfer &amp;history keeps (0: none)</source>
        <translation>Dateien, die der Übertragungs&amp;verlauf behält (0: keine)</translation>
    </message>
    <message>
        <source>Connection Retry Times</source>
        <translation>Wiederholungen beim Verbinden</translation>
    </message>
    <message>
        <source>The seconds a reply may take</source>
        <translation>Die Sekunden, die eine Antwort dauern darf</translation>
    </message>
    <message>
        <source>The seconds a transfer may stall</source>
        <translation>Die Sekunden, die eine Übertragung stocken darf</translation>
    </message>
    <message>
        <source>The files the history keeps</source>
        <translation>Die Dateien, die der Verlauf behält</translation>
    </message>
</context>
<context>
    <name>TLocalPane</name>
    <message>
        <source>No such folder: %1</source>
        <translation>Kein solcher Ordner: %1</translation>
    </message>
    <message>
        <source>%1 bytes free</source>
        <translation>%1 Bytes frei</translation>
    </message>
    <message>
        <source>Make Directory</source>
        <translation>Verzeichnis anlegen</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Change Directory</source>
        <translation>Verzeichnis wechseln</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New Name: </source>
        <translation>Neuer Name: </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Datei verschieben</translation>
    </message>
    <message>
        <source>Destination Directory: </source>
        <translation>Zielverzeichnis: </translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Could not move to the trash:</source>
        <translation>Verschieben in den Papierkorb nicht möglich:</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>The folders are being compared already.</source>
        <translation>Die Ordner werden bereits verglichen.</translation>
    </message>
    <message>
        <source>Compare and synchronize need a connected session with no transfers running.</source>
        <translation>Vergleichen und Abgleichen brauchen eine verbundene Sitzung ohne laufende Übertragungen.</translation>
    </message>
    <message>
        <source>Comparing %1 with %2...</source>
        <translation>%1 wird mit %2 verglichen...</translation>
    </message>
    <message>
        <source>The comparison was stopped.</source>
        <translation>Der Vergleich wurde angehalten.</translation>
    </message>
    <message>
        <source>The folders could not be compared: %1</source>
        <translation>Die Ordner konnten nicht verglichen werden: %1</translation>
    </message>
    <message>
        <source>The folders are alike (%1 files).</source>
        <translation>Die Ordner sind gleich (%1 Dateien).</translation>
    </message>
    <message>
        <source>%1 differences; %2 files alike.</source>
        <translation>%1 Unterschiede; %2 Dateien gleich.</translation>
    </message>
    <message>
        <source>Synchronizing...</source>
        <translation>Abgleich läuft...</translation>
    </message>
    <message>
        <source>1 action done</source>
        <translation>1 Aktion erledigt</translation>
    </message>
    <message>
        <source>%1 actions done</source>
        <translation>%1 Aktionen erledigt</translation>
    </message>
    <message>
        <source>Synchronize: %1; not done:</source>
        <translation>Abgleichen: %1; nicht erledigt:</translation>
    </message>
    <message>
        <source>(the run)</source>
        <translation>(der Lauf)</translation>
    </message>
    <message>
        <source>Synchronized: %1.</source>
        <translation>Abgeglichen: %1.</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>&amp;FTP Server : </source>
        <translation>&amp;FTP-Server: </translation>
    </message>
    <message>
        <source>FTP Server</source>
        <translation>FTP-Server</translation>
    </message>
    <message>
        <source>Connect to Host</source>
        <translation>Mit dem Host verbinden</translation>
    </message>
    <message>
        <source>Abort Current Command</source>
        <translation>Aktuellen Befehl abbrechen</translation>
    </message>
    <message>
        <source>Disconnect to Host</source>
        <translation>Vom Host trennen</translation>
    </message>
    <message>
        <source>Compare the Folders</source>
        <translation>Die Ordner vergleichen</translation>
    </message>
    <message>
        <source>Synchronize the Folders</source>
        <translation>Die Ordner abgleichen</translation>
    </message>
    <message>
        <source>&amp;User</source>
        <translation>Be&amp;nutzer</translation>
    </message>
    <message>
        <source>&amp;Pass</source>
        <translation>Pass&amp;wort</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>P&amp;ort</translation>
    </message>
    <message>
        <source>More of the tool bar</source>
        <translation>Mehr von der Werkzeugleiste</translation>
    </message>
    <message>
        <source>Transfer queue</source>
        <translation>Übertragungswarteschlange</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Connection log</source>
        <translation>Verbindungsprotokoll</translation>
    </message>
    <message>
        <source>Log pages</source>
        <translation>Protokollseiten</translation>
    </message>
    <message>
        <source>&amp;Transfers</source>
        <translation>Über&amp;tragungen</translation>
    </message>
    <message>
        <source>Co&amp;nnections</source>
        <translation>Ver&amp;bindungen</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Übertragungsfortschritt</translation>
    </message>
    <message>
        <source>&amp;Server</source>
        <translation>&amp;Server</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Verbinden</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>&amp;Trennen</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>&amp;Neu verbinden</translation>
    </message>
    <message>
        <source>Transfer &amp;History...</source>
        <translation>&amp;Übertragungsverlauf...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Site &amp;Manager</source>
        <translation>Site-&amp;Manager</translation>
    </message>
    <message>
        <source>&amp;Add Current Site</source>
        <translation>Aktuelle Site &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;New Session</source>
        <translation>Neue &amp;Sitzung</translation>
    </message>
    <message>
        <source>&amp;Command</source>
        <translation>&amp;Befehl</translation>
    </message>
    <message>
        <source>&amp;Local</source>
        <translation>&amp;Lokal</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Hochladen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansehen</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>Ver&amp;schieben</translation>
    </message>
    <message>
        <source>E&amp;xecute</source>
        <translation>Aus&amp;führen</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>Auswahl u&amp;mkehren</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation>&amp;Eigenschaften</translation>
    </message>
    <message>
        <source>&amp;Open Current Directory</source>
        <translation>Aktuelles &amp;Verzeichnis öffnen</translation>
    </message>
    <message>
        <source>&amp;Remote</source>
        <translation>&amp;Entfernt</translation>
    </message>
    <message>
        <source>&amp;Download</source>
        <translation>&amp;Herunterladen</translation>
    </message>
    <message>
        <source>Calc &amp;Size</source>
        <translation>&amp;Größe berechnen</translation>
    </message>
    <message>
        <source>&amp;Copy URL</source>
        <translation>URL &amp;kopieren</translation>
    </message>
    <message>
        <source>C&amp;hange Mode</source>
        <translation>Modus ä&amp;ndern</translation>
    </message>
    <message>
        <source>V&amp;iew</source>
        <translation>&amp;Darstellung</translation>
    </message>
    <message>
        <source>&amp;Large Icons</source>
        <translation>&amp;Große Symbole</translation>
    </message>
    <message>
        <source>&amp;Small Icons</source>
        <translation>&amp;Kleine Symbole</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>Symbole an&amp;ordnen</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Nach &amp;Name</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Nach &amp;Größe</translation>
    </message>
    <message>
        <source>By &amp;DateTime</source>
        <translation>Nach &amp;Datum/Zeit</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Make Directory</source>
        <translation>Verzeichnis an&amp;legen</translation>
    </message>
    <message>
        <source>&amp;Change Directory</source>
        <translation>Verzeichnis &amp;wechseln</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>A&amp;ktualisieren</translation>
    </message>
    <message>
        <source>C&amp;ompare Folders</source>
        <translation>Ordner &amp;vergleichen</translation>
    </message>
    <message>
        <source>Only &amp;Differences</source>
        <translation>Nur &amp;Unterschiede</translation>
    </message>
    <message>
        <source>S&amp;ynchronize...</source>
        <translation>A&amp;bgleichen...</translation>
    </message>
    <message>
        <source>S&amp;etting</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Increase Thread Number</source>
        <translation>Anzahl der Threads er&amp;höhen</translation>
    </message>
    <message>
        <source>&amp;Decrease Thread Number</source>
        <translation>Anzahl der Threads &amp;verringern</translation>
    </message>
    <message>
        <source>&amp;Preference...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>QuillFTP &amp;Help</source>
        <translation>QuillFTP-&amp;Hilfe</translation>
    </message>
    <message>
        <source>QuillFTP &amp;FAQ</source>
        <translation>QuillFTP-&amp;FAQ</translation>
    </message>
    <message>
        <source>&amp;EMail to Author</source>
        <translation>&amp;E-Mail an den Autor</translation>
    </message>
    <message>
        <source>QuillSoft Home&amp;Page</source>
        <translation>QuillSoft-&amp;Homepage</translation>
    </message>
    <message>
        <source>Check New &amp;Version</source>
        <translation>Nach neuer &amp;Version suchen</translation>
    </message>
    <message>
        <source>A&amp;bout ...</source>
        <translation>Ü&amp;ber ...</translation>
    </message>
    <message>
        <source>Calculate Size</source>
        <translation>Größe berechnen</translation>
    </message>
    <message>
        <source>Copy Select</source>
        <translation>Auswahl kopieren</translation>
    </message>
    <message>
        <source>Copy All</source>
        <translation>Alles kopieren</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle leeren</translation>
    </message>
    <message>
        <source>Resume Broken List</source>
        <translation>Abgebrochene Liste fortsetzen</translation>
    </message>
    <message>
        <source>Delete Broken List</source>
        <translation>Abgebrochene Liste löschen</translation>
    </message>
    <message>
        <source>No web browser could be opened. The page is %1 (open it in any browser).</source>
        <translation>Es konnte kein Webbrowser geöffnet werden. Die Seite ist %1 (in einem beliebigen Browser öffnen).</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <comment>menu bar</comment>
        <translation>&amp;Ansicht</translation>
    </message>
</context>
<context>
    <name>TMultipleThreadPage</name>
    <message>
        <source>Multiple Thread Setting</source>
        <translation>Mehrere Threads</translation>
    </message>
    <message>
        <source>&amp;Use main thread to transfer file</source>
        <translation>&amp;Hauptthread zur Dateiübertragung verwenden</translation>
    </message>
    <message>
        <source>&amp;Thread number = </source>
        <translation>Anzahl der &amp;Threads = </translation>
    </message>
    <message>
        <source>&amp;Split download file size = </source>
        <translation>Download-Dateigröße zum &amp;Teilen = </translation>
    </message>
    <message>
        <source>&amp;Download speed limit = </source>
        <translation>&amp;Download-Geschwindigkeitsgrenze = </translation>
    </message>
    <message>
        <source>Upload speed li&amp;mit = </source>
        <translation>Upload-Geschwindigkeits&amp;grenze = </translation>
    </message>
    <message>
        <source>KiB/s, for all connections together (0: none)</source>
        <translation>KiB/s, für alle Verbindungen zusammen (0: keine)</translation>
    </message>
    <message>
        <source>Thread number</source>
        <translation>Anzahl der Threads</translation>
    </message>
    <message>
        <source>Split download file size</source>
        <translation>Download-Dateigröße zum Teilen</translation>
    </message>
    <message>
        <source>Download speed limit</source>
        <translation>Download-Geschwindigkeitsgrenze</translation>
    </message>
    <message>
        <source>Upload speed limit</source>
        <translation>Upload-Geschwindigkeitsgrenze</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>TPaneModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Attr</source>
        <translation>Attr</translation>
    </message>
</context>
<context>
    <name>TPaneRows</name>
    <message>
        <source>%1 folder(s) %2 file(s) %3 byte(s) listed</source>
        <translation>%1 Ordner %2 Datei(en) %3 Byte(s) aufgelistet</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; and everything in it</source>
        <translation>Ordner „%1“ mit allem darin</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot;</source>
        <translation>Ordner „%1“</translation>
    </message>
    <message>
        <source>the link &quot;%1&quot;</source>
        <translation>Verknüpfung „%1“</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot;</source>
        <translation>Datei „%1“</translation>
    </message>
    <message>
        <source>%1 file</source>
        <translation>%1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1 folder</source>
        <translation>%1 Ordner</translation>
    </message>
    <message>
        <source>%1 folders</source>
        <translation>%1 Ordner</translation>
    </message>
    <message>
        <source> with everything in it</source>
        <translation> mit allem darin</translation>
    </message>
    <message>
        <source> with everything in them</source>
        <translation> mit allem darin</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>Delete %1 from the server?</source>
        <translation>%1 vom Server löschen?</translation>
    </message>
    <message>
        <source>Move %1 to the trash?</source>
        <translation>%1 in den Papierkorb verschieben?</translation>
    </message>
</context>
<context>
    <name>TPaneWidget</name>
    <message>
        <source>Remote directory</source>
        <translation>Entferntes Verzeichnis</translation>
    </message>
    <message>
        <source>Local directory</source>
        <translation>Lokales Verzeichnis</translation>
    </message>
    <message>
        <source>Remote files</source>
        <translation>Entfernte Dateien</translation>
    </message>
    <message>
        <source>Local files</source>
        <translation>Lokale Dateien</translation>
    </message>
    <message>
        <source>Icons</source>
        <translation>Symbole</translation>
    </message>
</context>
<context>
    <name>TPreferencePage</name>
    <message>
        <source>%1 must be a whole number of at least %2.</source>
        <translation>%1 muss eine ganze Zahl von mindestens %2 sein.</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3.</source>
        <translation>%1 muss eine ganze Zahl von %2 bis %3 sein.</translation>
    </message>
</context>
<context>
    <name>TProxySocksPage</name>
    <message>
        <source>Proxy &amp;&amp; Socks</source>
        <translation>Proxy &amp;&amp; SOCKS</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message>
        <source>Enable &amp;Proxy</source>
        <translation>&amp;Proxy verwenden</translation>
    </message>
    <message>
        <source>An FTP proxy carries FTP only: SFTP goes directly or through SOCKS.</source>
        <translation>Ein FTP-Proxy trägt nur FTP: SFTP geht direkt oder über SOCKS.</translation>
    </message>
    <message>
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message>
        <source>Enable &amp;SOCKS</source>
        <translation>&amp;SOCKS verwenden</translation>
    </message>
    <message>
        <source>Use PASV &amp;mode</source>
        <translation>PASV-&amp;Modus verwenden</translation>
    </message>
    <message>
        <source>&amp;Security of new connections:</source>
        <translation>&amp;Sicherheit neuer Verbindungen:</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Pass</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>The %1 port</source>
        <translation>Der Port des %1</translation>
    </message>
    <message>
        <source>proxy</source>
        <translation>Proxys</translation>
    </message>
</context>
<context>
    <name>TQueueTree</name>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>hostinfo</source>
        <translation>Host-Daten</translation>
    </message>
    <message>
        <source> - Current</source>
        <translation> - Aktuell</translation>
    </message>
    <message>
        <source> - Broken</source>
        <translation> - Abgebrochen</translation>
    </message>
</context>
<context>
    <name>TQuickConnectPage</name>
    <message>
        <source>Quick Connection</source>
        <translation>Schnellverbindung</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Quick connections</source>
        <translation>Schnellverbindungen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
</context>
<context>
    <name>TSiteBook</name>
    <message>
        <source>: the site book&apos;s passwords kept there are not at hand.</source>
        <translation>: die dort aufbewahrten Passwörter des Adressbuchs sind nicht greifbar.</translation>
    </message>
    <message>
        <source>: the passwords stay in the site book&apos;s file.</source>
        <translation>: die Passwörter bleiben in der Datei des Adressbuchs.</translation>
    </message>
    <message>
        <source>Old = </source>
        <translation>Alt = </translation>
    </message>
    <message>
        <source>The site book is full: it holds at most 50 classes. &quot;%1&quot; was not added.</source>
        <translation>Das Adressbuch ist voll: es fasst höchstens 50 Klassen. „%1“ wurde nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>Class name</source>
        <translation>Klassenname</translation>
    </message>
    <message>
        <source>Duplicate Class Name</source>
        <translation>Doppelter Klassenname</translation>
    </message>
    <message>
        <source>The site book is full: it holds at most 500 sites. &quot;%1&quot; was not added.</source>
        <translation>Das Adressbuch ist voll: es fasst höchstens 500 Sites. „%1“ wurde nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>Site name</source>
        <translation>Name der Site</translation>
    </message>
    <message>
        <source>: host</source>
        <translation>: Host</translation>
    </message>
    <message>
        <source>: port</source>
        <translation>: Port</translation>
    </message>
    <message>
        <source>: user</source>
        <translation>: Benutzer</translation>
    </message>
    <message>
        <source>: password</source>
        <translation>: Passwort</translation>
    </message>
    <message>
        <source>: description</source>
        <translation>: Beschreibung</translation>
    </message>
    <message>
        <source>Duplicate Site Name</source>
        <translation>Doppelter Site-Name</translation>
    </message>
    <message>
        <source>%1 cut to %2 characters</source>
        <translation>%1 auf %2 Zeichen gekürzt</translation>
    </message>
    <message>
        <source>Some texts were too long for the site book and were cut:</source>
        <translation>Einige Texte waren zu lang für das Adressbuch und wurden gekürzt:</translation>
    </message>
    <message>
        <source>(and %1 more)</source>
        <translation>(und %1 weitere)</translation>
    </message>
</context>
<context>
    <name>TSpeedLimitButton</name>
    <message>
        <source>Speed limit</source>
        <translation>Geschwindigkeitsgrenze</translation>
    </message>
    <message>
        <source>Speed limits for all connections together; they apply at once, also to a running transfer</source>
        <translation>Geschwindigkeitsgrenzen für alle Verbindungen zusammen; sie gelten sofort, auch für eine laufende Übertragung</translation>
    </message>
    <message>
        <source>&amp;Download limit</source>
        <translation>&amp;Download-Grenze</translation>
    </message>
    <message>
        <source>&amp;Upload limit</source>
        <translation>&amp;Upload-Grenze</translation>
    </message>
    <message>
        <source>&amp;No limit</source>
        <translation>&amp;Keine Grenze</translation>
    </message>
    <message>
        <source>&amp;Other...</source>
        <translation>&amp;Andere...</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>%1 MiB/s</source>
        <translation>%1 MiB/s</translation>
    </message>
    <message>
        <source>%1 KiB/s</source>
        <translation>%1 KiB/s</translation>
    </message>
    <message>
        <source>No speed limit</source>
        <translation>Keine Geschwindigkeitsgrenze</translation>
    </message>
    <message>
        <source>Limit ↓ %1  ↑ %2</source>
        <translation>Grenze ↓ %1  ↑ %2</translation>
    </message>
    <message>
        <source>Download limit</source>
        <translation>Download-Grenze</translation>
    </message>
    <message>
        <source>Upload limit</source>
        <translation>Upload-Grenze</translation>
    </message>
    <message>
        <source>KiB/s for all connections together (0: none):</source>
        <translation>KiB/s für alle Verbindungen zusammen (0: keine):</translation>
    </message>
</context>
<context>
    <name>TStatusModel</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbinde</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>ChangingDir</source>
        <translation>Wechsle Verzeichnis</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Vorbereitung</translation>
    </message>
    <message>
        <source>Transfering</source>
        <translation>Übertrage</translation>
    </message>
    <message>
        <source>disconnected</source>
        <translation>getrennt</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
</context>
<context>
    <name>TSyncDialog</name>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Make remote directory</source>
        <translation>Entferntes Verzeichnis anlegen</translation>
    </message>
    <message>
        <source>Make local directory</source>
        <translation>Lokales Verzeichnis anlegen</translation>
    </message>
    <message>
        <source>Delete remote</source>
        <translation>Entfernt löschen</translation>
    </message>
    <message>
        <source>Delete local</source>
        <translation>Lokal löschen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Conflict</source>
        <translation>Konflikt</translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation>Abgleichen</translation>
    </message>
    <message>
        <source>Local: %1
Remote: %2</source>
        <translation>Lokal: %1
Entfernt: %2</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Upload: make the remote folder like the local one</source>
        <translation>&amp;Hochladen: den entfernten Ordner wie den lokalen machen</translation>
    </message>
    <message>
        <source>&amp;Download: make the local folder like the remote one</source>
        <translation>&amp;Herunterladen: den lokalen Ordner wie den entfernten machen</translation>
    </message>
    <message>
        <source>&amp;Both ways: each side takes what changed on the other</source>
        <translation>&amp;Beide Richtungen: jede Seite übernimmt, was sich auf der anderen geändert hat</translation>
    </message>
    <message>
        <source>D&amp;elete what is gone on the leading side</source>
        <translation>&amp;Löschen, was auf der führenden Seite fehlt</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>&amp;Synchronize</source>
        <translation>&amp;Abgleichen</translation>
    </message>
    <message>
        <source>Save &amp;Plan...</source>
        <translation>&amp;Plan speichern...</translation>
    </message>
    <message>
        <source>Save Plan</source>
        <translation>Plan speichern</translation>
    </message>
    <message>
        <source>Synchronization plans (*.json)</source>
        <translation>Abgleichspläne (*.json)</translation>
    </message>
    <message>
        <source>The plan could not be written to %1.</source>
        <translation>Der Plan konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>TSyncWork</name>
    <message>
        <source>alike on both sides</source>
        <translation>auf beiden Seiten gleich</translation>
    </message>
    <message>
        <source>only in the local folder</source>
        <translation>nur im lokalen Ordner</translation>
    </message>
    <message>
        <source>only in the remote folder</source>
        <translation>nur im entfernten Ordner</translation>
    </message>
    <message>
        <source>newer here (local)</source>
        <translation>hier neuer (lokal)</translation>
    </message>
    <message>
        <source>newer there (remote)</source>
        <translation>dort neuer (entfernt)</translation>
    </message>
    <message>
        <source>size differs</source>
        <translation>Größe unterschiedlich</translation>
    </message>
    <message>
        <source>kind differs</source>
        <translation>Art unterschiedlich</translation>
    </message>
    <message>
        <source>cannot be told</source>
        <translation>nicht feststellbar</translation>
    </message>
    <message>
        <source>Compared: </source>
        <translation>Verglichen: </translation>
    </message>
    <message>
        <source>the plan is for %1, not %2</source>
        <translation>der Plan gilt für %1, nicht für %2</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>the plan is refused: 1 path changed since it was made: %2</source>
        <translation>der Plan wird abgelehnt: 1 Pfad hat sich geändert, seit er erstellt wurde: %2</translation>
    </message>
    <message>
        <source>the plan is refused: %1 paths changed since it was made: %2</source>
        <translation>der Plan wird abgelehnt: %1 Pfade haben sich geändert, seit er erstellt wurde: %2</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>no connection could list the remote folder: </source>
        <translation>keine Verbindung konnte den entfernten Ordner auflisten: </translation>
    </message>
    <message>
        <source>the remote folder could not be listed: </source>
        <translation>der entfernte Ordner konnte nicht aufgelistet werden: </translation>
    </message>
    <message>
        <source>not connected, or a run is going on</source>
        <translation>nicht verbunden, oder ein Lauf ist im Gang</translation>
    </message>
    <message>
        <source>cannot create the local directory</source>
        <translation>das lokale Verzeichnis kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>sein lokaler Pfad liegt außerhalb von %1</translation>
    </message>
    <message>
        <source>not transferred</source>
        <translation>nicht übertragen</translation>
    </message>
    <message>
        <source>the run did not complete: no deletions</source>
        <translation>der Lauf wurde nicht vollständig: keine Löschungen</translation>
    </message>
    <message>
        <source>differs inside: </source>
        <translation>innen verschieden: </translation>
    </message>
</context>
<context>
    <name>TTransferRows</name>
    <message>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>Queued</source>
        <translation>In der Warteschlange</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Wird übertragen</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Wird geprüft</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Übersprungen</translation>
    </message>
    <message>
        <source>%1 bytes checked</source>
        <translation>%1 Bytes geprüft</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>%1 stimmt überein</translation>
    </message>
    <message>
        <source>%1 differs</source>
        <translation>%1 weicht ab</translation>
    </message>
    <message>
        <source>; time kept</source>
        <translation>; Zeit übernommen</translation>
    </message>
    <message>
        <source>Not finished; kept in the broken list</source>
        <translation>Nicht fertig; in der abgebrochenen Liste aufbewahrt</translation>
    </message>
</context>
<context>
    <name>TTransfersModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Rest</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Verb.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
</context>
<context>
    <name>TTransfersPanel</name>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Queued</source>
        <translation>In der Warteschlange</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Transfers shown</source>
        <translation>Gezeigte Übertragungen</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>Übertragungen</translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>Ü&amp;berspringen</translation>
    </message>
    <message>
        <source>&amp;Open Containing Folder</source>
        <translation>Enthaltenden Ordner ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Copy Remote Address</source>
        <translation>Entfernte Adresse &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>TfmAbout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version %1    Build %2</source>
        <translation>Version %1    Build %2</translation>
    </message>
</context>
<context>
    <name>TfmAddCurrSite</name>
    <message>
        <source>Add Current Site</source>
        <translation>Aktuelle Site hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Class : </source>
        <translation>&amp;Klasse: </translation>
    </message>
    <message>
        <source>&amp;Name :</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>The site book has no class yet: add one in the Site Manager first.</source>
        <translation>Das Adressbuch hat noch keine Klasse: legen Sie zuerst eine im Site-Manager an.</translation>
    </message>
</context>
<context>
    <name>TfmConnBook</name>
    <message>
        <source>This name already exists !<byte value="xd"/>please change another .</source>
        <translation>Diesen Namen gibt es schon !<byte value="xd"/>bitte einen anderen wählen .</translation>
    </message>
    <message>
        <source>Site Manager</source>
        <translation>Site-Manager</translation>
    </message>
    <message>
        <source>Sites</source>
        <translation>Sites</translation>
    </message>
    <message>
        <source>New Class...</source>
        <translation>Neue Klasse...</translation>
    </message>
    <message>
        <source>New Site...</source>
        <translation>Neue Site...</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>A&amp;ddr:</source>
        <translation>A&amp;dresse:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message>
        <source>Pa&amp;ss:</source>
        <translation>Pa&amp;sswort:</translation>
    </message>
    <message>
        <source>D&amp;escription:</source>
        <translation>B&amp;eschreibung:</translation>
    </message>
    <message>
        <source>New &amp;Class</source>
        <translation>Neue &amp;Klasse</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>New S&amp;ite</source>
        <translation>Neue S&amp;ite</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>&amp;Backup</source>
        <translation>&amp;Sichern</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>I&amp;mport</source>
        <translation>I&amp;mportieren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>New Class</source>
        <translation>Neue Klasse</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Duplicate Class Name!</source>
        <translation>Doppelter Klassenname!</translation>
    </message>
    <message>
        <source>Please Select a Class!</source>
        <translation>Bitte eine Klasse wählen!</translation>
    </message>
    <message>
        <source>Add New Site</source>
        <translation>Neue Site hinzufügen</translation>
    </message>
    <message>
        <source>Site Name: </source>
        <translation>Name der Site: </translation>
    </message>
    <message>
        <source>Please Finish the information of this site and press Apply Button</source>
        <translation>Bitte die Angaben zu dieser Site vervollständigen und Übernehmen drücken</translation>
    </message>
    <message>
        <source>The site book could not be written: </source>
        <translation>Das Adressbuch konnte nicht geschrieben werden: </translation>
    </message>
    <message>
        <source>Confirm to delete?</source>
        <translation>Wirklich löschen?</translation>
    </message>
    <message>
        <source>Rename: </source>
        <translation>Umbenennen: </translation>
    </message>
    <message>
        <source>NewName = </source>
        <translation>Neuer Name = </translation>
    </message>
    <message>
        <source>LeapFtp (SITES.INI) (*.ini)</source>
        <translation>LeapFtp (SITES.INI) (*.ini)</translation>
    </message>
    <message>
        <source>CuteFtp Exported List (*.TXT) (*.txt)</source>
        <translation>CuteFtp-Exportliste (*.TXT) (*.txt)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>Are you sure ?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>TfmFileExists</name>
    <message>
        <source>This local file exists!</source>
        <translation>Diese lokale Datei existiert!</translation>
    </message>
    <message>
        <source>&amp;OverWrite</source>
        <translation>Über&amp;schreiben</translation>
    </message>
    <message>
        <source>OverWrite &amp;All</source>
        <translation>&amp;Alle überschreiben</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>Ü&amp;berspringen</translation>
    </message>
    <message>
        <source>Skip A&amp;ll</source>
        <translation>A&amp;lle überspringen</translation>
    </message>
    <message>
        <source>FileExists</source>
        <translation>Datei existiert</translation>
    </message>
</context>
<context>
    <name>TfmHistory</name>
    <message>
        <source>Only the files that &amp;failed</source>
        <translation>Nur die &amp;fehlgeschlagenen Dateien</translation>
    </message>
    <message>
        <source>Transfer History</source>
        <translation>Übertragungsverlauf</translation>
    </message>
    <message>
        <source>Started (UTC)</source>
        <translation>Begonnen (UTC)</translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>Entfernt</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Lokal</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>TfmMain</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>1 file is still being transferred; what is left can be resumed from the broken list. Quit anyway?</source>
        <translation>1 Datei wird noch übertragen; der Rest kann aus der abgebrochenen Liste fortgesetzt werden. Trotzdem beenden?</translation>
    </message>
    <message>
        <source>%1 files are still being transferred; what is left can be resumed from the broken list. Quit anyway?</source>
        <translation>%1 Dateien werden noch übertragen; der Rest kann aus der abgebrochenen Liste fortgesetzt werden. Trotzdem beenden?</translation>
    </message>
    <message>
        <source>Still connected to host, Quit anyway?</source>
        <translation>Noch mit dem Host verbunden, trotzdem beenden?</translation>
    </message>
    <message>
        <source>: the broken lists&apos; passwords stay in their file.</source>
        <translation>: die Passwörter der abgebrochenen Listen bleiben in ihrer Datei.</translation>
    </message>
    <message>
        <source>: the host history&apos;s passwords stay in quillftp.ini.</source>
        <translation>: die Passwörter des Hostverlaufs bleiben in quillftp.ini.</translation>
    </message>
    <message>
        <source>: the broken lists&apos; passwords kept there are not at hand.</source>
        <translation>: die dort aufbewahrten Passwörter der abgebrochenen Listen sind nicht greifbar.</translation>
    </message>
    <message>
        <source>Using %1 connections, not %2: the limit of open files allows no more</source>
        <translation>%1 Verbindungen statt %2: die Grenze offener Dateien erlaubt nicht mehr</translation>
    </message>
    <message>
        <source> - Not connected</source>
        <translation> - Nicht verbunden</translation>
    </message>
    <message>
        <source> (protected by %1)</source>
        <translation> (geschützt durch %1)</translation>
    </message>
    <message>
        <source> (TLS for commands only)</source>
        <translation> (TLS nur für Befehle)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbinde</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Changing dir</source>
        <translation>Wechsle Verzeichnis</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Vorbereitung</translation>
    </message>
    <message>
        <source>Transfering</source>
        <translation>Übertrage</translation>
    </message>
    <message>
        <source>Please enter the host name to connect</source>
        <translation>Bitte den Hostnamen zum Verbinden eingeben</translation>
    </message>
    <message>
        <source>Please enter the port to connect</source>
        <translation>Bitte den Port zum Verbinden eingeben</translation>
    </message>
    <message>
        <source>Please enter the password of %1 to connect</source>
        <translation>Bitte das Passwort von %1 zum Verbinden eingeben</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Break current connection ?</source>
        <translation>Aktuelle Verbindung trennen?</translation>
    </message>
    <message>
        <source>Sorry, Can&apos;t connect to different host while transfering file background</source>
        <translation>Leider kann nicht mit einem anderen Host verbunden werden, während im Hintergrund Dateien übertragen werden</translation>
    </message>
    <message>
        <source>User Aborted</source>
        <translation>Vom Benutzer abgebrochen</translation>
    </message>
    <message>
        <source>Can&apos;t set Main-Connection idle when only 1 connection</source>
        <translation>Die Hauptverbindung kann bei nur 1 Verbindung nicht untätig bleiben</translation>
    </message>
    <message>
        <source>USE MAIN CONNECTION TRANSFER means use all FTP connection to transfer files</source>
        <translation>HAUPTVERBINDUNG ÜBERTRÄGT heißt: alle FTP-Verbindungen übertragen Dateien</translation>
    </message>
    <message>
        <source>NOT USE MAIN CONNECTION TRANSFER means remain main FTP connection to do other things, such as CHANGING DIR, DRAG MORE FILES TO TRANSFER, etc.</source>
        <translation>HAUPTVERBINDUNG ÜBERTRÄGT NICHT heißt: die FTP-Hauptverbindung bleibt frei für anderes, etwa VERZEICHNIS WECHSELN, WEITERE DATEIEN ZUR ÜBERTRAGUNG ZIEHEN usw.</translation>
    </message>
    <message>
        <source>NOT Use Main Connection to Transfer</source>
        <translation>Hauptverbindung NICHT zur Übertragung verwenden</translation>
    </message>
    <message>
        <source>Use Main Connection to Transfer</source>
        <translation>Hauptverbindung zur Übertragung verwenden</translation>
    </message>
    <message>
        <source>Could not make:</source>
        <translation>Anlegen nicht möglich:</translation>
    </message>
    <message>
        <source>Could not delete:</source>
        <translation>Löschen nicht möglich:</translation>
    </message>
    <message>
        <source>Could not change the mode of:</source>
        <translation>Modus ändern nicht möglich bei:</translation>
    </message>
    <message>
        <source>Could not rename or move:</source>
        <translation>Umbenennen oder Verschieben nicht möglich:</translation>
    </message>
    <message>
        <source>... and %1 more (see the log)</source>
        <translation>... und %1 weitere (siehe Protokoll)</translation>
    </message>
    <message>
        <source>Make Directory</source>
        <translation>Verzeichnis anlegen</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Change Directory</source>
        <translation>Verzeichnis wechseln</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New Name: </source>
        <translation>Neuer Name: </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Datei verschieben</translation>
    </message>
    <message>
        <source>Destination Directory: </source>
        <translation>Zielverzeichnis: </translation>
    </message>
    <message>
        <source>Change Mode</source>
        <translation>Modus ändern</translation>
    </message>
    <message>
        <source>New Mode: </source>
        <translation>Neuer Modus: </translation>
    </message>
    <message>
        <source>its size, %1 bytes, is more than any file has</source>
        <translation>ihre Größe, %1 Bytes, ist größer als jede Datei</translation>
    </message>
    <message>
        <source>! Not queued: %1</source>
        <translation>! Nicht eingereiht: %1</translation>
    </message>
    <message>
        <source>no local name for it</source>
        <translation>kein lokaler Name dafür</translation>
    </message>
    <message>
        <source>Total FileSize = %1 bytes</source>
        <translation>Gesamtgröße = %1 Bytes</translation>
    </message>
    <message>
        <source>! Not queued: %1 lies outside %2</source>
        <translation>! Nicht eingereiht: %1 liegt außerhalb von %2</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>sein lokaler Pfad liegt außerhalb von %1</translation>
    </message>
    <message>
        <source>! Not uploaded: %1 is not a regular file</source>
        <translation>! Nicht hochgeladen: %1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not uploaded: %1 is not a regular file</source>
        <translation>Nicht hochgeladen: %1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>1 item did not complete; kept in the broken list %2 to resume</source>
        <translation>1 Eintrag wurde nicht fertig; in der abgebrochenen Liste %2 zum Fortsetzen aufbewahrt</translation>
    </message>
    <message>
        <source>%1 items did not complete; kept in the broken list %2 to resume</source>
        <translation>%1 Einträge wurden nicht fertig; in der abgebrochenen Liste %2 zum Fortsetzen aufbewahrt</translation>
    </message>
    <message>
        <source>%1 bytes in %2</source>
        <translation>%1 Bytes in %2</translation>
    </message>
    <message>
        <source>1 item did not complete</source>
        <translation>1 Eintrag wurde nicht fertig</translation>
    </message>
    <message>
        <source>%1 items did not complete</source>
        <translation>%1 Einträge wurden nicht fertig</translation>
    </message>
    <message>
        <source>QuillFTP: transfers ended, some did not complete</source>
        <translation>QuillFTP: Übertragungen beendet, einige nicht vollständig</translation>
    </message>
    <message>
        <source>QuillFTP: transfers done</source>
        <translation>QuillFTP: Übertragungen fertig</translation>
    </message>
    <message>
        <source>Elapsed: </source>
        <translation>Verstrichen: </translation>
    </message>
    <message>
        <source>Remain: </source>
        <translation>Verbleibend: </translation>
    </message>
    <message>
        <source>! Resuming the half-written %1</source>
        <translation>! Setze die halb geschriebene Datei fort: %1</translation>
    </message>
    <message>
        <source>Please select a broken list !</source>
        <translation>Bitte eine abgebrochene Liste wählen!</translation>
    </message>
    <message>
        <source>! Not resumed: %1</source>
        <translation>! Nicht fortgesetzt: %1</translation>
    </message>
    <message>
        <source>1 item of the broken list will not be resumed: %2</source>
        <translation>1 Eintrag der abgebrochenen Liste wird nicht fortgesetzt: %2</translation>
    </message>
    <message>
        <source>%1 items of the broken list will not be resumed: %2</source>
        <translation>%1 Einträge der abgebrochenen Liste werden nicht fortgesetzt: %2</translation>
    </message>
</context>
<context>
    <name>TfmPreference</name>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Anti Idle</source>
        <translation>Leerlaufschutz</translation>
    </message>
    <message>
        <source>Proxy &amp;&amp; Socks</source>
        <translation>Proxy &amp;&amp; SOCKS</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>Multiple Thread</source>
        <translation>Mehrere Threads</translation>
    </message>
    <message>
        <source>ASC II Extension</source>
        <translation>ASCII-Endungen</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Schriften</translation>
    </message>
    <message>
        <source>Quick Connection</source>
        <translation>Schnellverbindung</translation>
    </message>
    <message>
        <source>Preference</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>TfmProperties</name>
    <message>
        <source>%1 Properties</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>Permissions:</source>
        <translation>Berechtigungen:</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Eigentümer:</translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation>Geändert:</translation>
    </message>
    <message>
        <source>Accessed:</source>
        <translation>Zugegriffen:</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>File System</source>
        <translation>Dateisystem</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>es ist nicht mehr da</translation>
    </message>
</context>
</TS>
