<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>usage : quillftp-cli [OPTIONS] COMMANDE ...
  ls URL                 lister un répertoire distant (nature, taille, nom ; --long pour les colonnes du panneau)
  get URL [DOSSIER_LOCAL]  télécharger un fichier, ou toute une arborescence quand URL finit par « / »
  put CHEMIN_LOCAL URL   envoyer un fichier ou une arborescence dans le répertoire distant URL
  mkdir URL | rm URL | rmdir URL | mv URL NOUVEAU_CHEMIN | chmod MODE URL
  rm -r URL              supprimer un fichier, ou un répertoire avec tout son contenu
  broken                 lister les listes interrompues enregistrées
  sites                  les sites du carnet d&apos;adresses, sous la forme site:CLASSE/NOM
  resume N               reprendre la liste interrompue N (numérotée comme par broken)
  sync [--up|--down|--both] [--delete] [--dry-run] [--by-hash] [--plan FICHIER] DOSSIER_LOCAL URL
                         rendre semblables un dossier local et un dossier distant : --up le distant comme le local,
                         --down l&apos;inverse, --both (par défaut) chaque côté prend ce qui a changé de l&apos;autre ;
                         le plan est affiché ; --dry-run ne change rien ; --plan FICHIER le garde (JSON) et
                         ne change rien ; --delete supprime ce qui a disparu du côté meneur
  sync --apply FICHIER   exécuter un plan gardé, refusé si l&apos;un des dossiers a changé depuis
  history [--failed] [--csv]   les fichiers des exécutions passées, les plus récents d&apos;abord (heure UTC, get|put,
                         état, taille, adresse distante, chemin local ; --csv : toutes les colonnes en CSV)
URL : ftp://[utilisateur[:motdepasse]@]hôte[:port]/chemin  (le chemin part du répertoire de connexion ; ftp://hôte/%2Fetc/ désigne /etc/)
     site:CLASSE/NOM/chemin désigne un site du carnet d&apos;adresses (son adresse, son utilisateur et son mot de passe)
     un mot de passe dans l&apos;URL peut être lu par les autres utilisateurs : sans lui, il vient de ~/.netrc,
     de --password-stdin, ou est demandé au terminal
     ftps://... pour le TLS implicite (port 990), ftpes://... pour le TLS exigé
options :
  -n, --connections N    connexions à utiliser (1-255)
  --split-size OCTETS    les téléchargements plus gros sont découpés en plages
  --background           la connexion principale ne transfère pas
  --active | --passive   mode de la connexion de données
  --no-pipelining        une commande à la fois sur les connexions de transfert
  --proxy HÔTE:PORT      par un proxy FTP ; --proxy-type user@host|login, --proxy-user, --proxy-pass
  --socks4 | --socks4a | --socks5 HÔTE:PORT   par un serveur SOCKS ; --socks-user, --socks-pass
  --retries K            essais d&apos;une connexion ou d&apos;un transfert en échec
  --limit-rate DÉBIT     octets par seconde dans chaque sens pour toutes les connexions ensemble (K, M, G : 1024, 1024², 1024³)
  --timeout S            secondes que peut prendre une réponse, ou une connexion de données sans progrès (0 : sans limite)
  --overwrite | --skip   que faire des fichiers locaux existants (par défaut : demander au terminal, sinon sauter)
  --log                  les lignes du journal de chaque connexion sur stderr
  --quiet                pas de ligne de progression
  --data-dir DOSSIER     où vivent les réglages, le carnet d&apos;adresses et les listes interrompues
  --tls auto|require|implicit|off   TLS : quand le serveur le propose (par défaut), exigé, dès le premier octet, jamais
  --trust SHA256         accepter le certificat du serveur ayant cette empreinte (telle qu&apos;affichée) sans garant
  --netrc-file FICHIER   les connexions de FICHIER au lieu de ~/.netrc (lisible par son seul propriétaire)
  --password-stdin       le mot de passe est la première ligne de l&apos;entrée standard
  --json                 ls, get, put, sync : un document JSON sur la sortie standard (voir la page de manuel)
  --version              la version du programme et les bibliothèques avec lesquelles il a été construit
  -h, --help             ce texte
</translation>
    </message>
    <message>
        <source>the connection count must lie between 1 and 255: </source>
        <translation>le nombre de connexions doit être compris entre 1 et 255 : </translation>
    </message>
    <message>
        <source>the split size must be a number of bytes: </source>
        <translation>la taille de découpage doit être un nombre d&apos;octets : </translation>
    </message>
    <message>
        <source>the rate must be bytes per second, or a number with K, M or G: </source>
        <translation>le débit doit être en octets par seconde, ou un nombre suivi de K, M ou G : </translation>
    </message>
    <message>
        <source>the retry count must lie between 0 and 1000: </source>
        <translation>le nombre de nouvelles tentatives doit être compris entre 0 et 1000 : </translation>
    </message>
    <message>
        <source>the timeout must be a number of seconds between 0 and 86400: </source>
        <translation>le délai doit être un nombre de secondes entre 0 et 86400 : </translation>
    </message>
    <message>
        <source>--proxy needs HOST:PORT: </source>
        <translation>--proxy attend HÔTE:PORT : </translation>
    </message>
    <message>
        <source>--proxy-type is user@host or login: </source>
        <translation>--proxy-type vaut user@host ou login : </translation>
    </message>
    <message>
        <source>--tls is auto, require, implicit or off: </source>
        <translation>--tls vaut auto, require, implicit ou off : </translation>
    </message>
    <message>
        <source>%1 needs HOST:PORT: %2</source>
        <translation>%1 attend HÔTE:PORT : %2</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>aucune commande indiquée</translation>
    </message>
    <message>
        <source>unknown command </source>
        <translation>commande inconnue : </translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 ou %2</translation>
    </message>
    <message>
        <source>%1 takes %2 operand, not %3</source>
        <translation>%1 prend %2 opérande, pas %3</translation>
    </message>
    <message>
        <source>%1 takes %2 operands, not %3</source>
        <translation>%1 prend %2 opérandes, pas %3</translation>
    </message>
    <message>
        <source>--json goes with ls, get, put and sync</source>
        <translation>--json va avec ls, get, put et sync</translation>
    </message>
    <message>
        <source>--up, --down, --both, --delete, --dry-run, --by-hash, --plan and --apply go with sync</source>
        <translation>--up, --down, --both, --delete, --dry-run, --by-hash, --plan et --apply vont avec sync</translation>
    </message>
    <message>
        <source>sync takes LOCALDIR URL</source>
        <translation>sync prend DOSSIER_LOCAL URL</translation>
    </message>
    <message>
        <source>sync --apply FILE takes no folders: the plan names them</source>
        <translation>sync --apply FICHIER ne prend pas de dossiers : le plan les nomme</translation>
    </message>
    <message>
        <source>sync --apply carries out the plan as it is: --up, --down, --both, --delete and --plan do not go with it</source>
        <translation>sync --apply exécute le plan tel quel : --up, --down, --both, --delete et --plan ne vont pas avec</translation>
    </message>
    <message>
        <source>-r goes with rm only</source>
        <translation>-r ne va qu&apos;avec rm</translation>
    </message>
    <message>
        <source>--proxy and a SOCKS server cannot be used together</source>
        <translation>--proxy et un serveur SOCKS ne peuvent pas être utilisés ensemble</translation>
    </message>
    <message>
        <source>unknown option </source>
        <translation>option inconnue : </translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>l&apos;option %1 attend une valeur</translation>
    </message>
    <message>
        <source>not an ftp:// or sftp:// address: </source>
        <translation>pas une adresse ftp:// ou sftp:// : </translation>
    </message>
    <message>
        <source>the site %1 holds no address</source>
        <translation>le site %1 ne contient pas d&apos;adresse</translation>
    </message>
    <message>
        <source>no site %1 in the site book %2 (site:CLASS/NAME/path)</source>
        <translation>aucun site %1 dans le carnet d&apos;adresses %2 (site:CLASSE/NOM/chemin)</translation>
    </message>
    <message>
        <source>interrupted; stopping the transfers (Ctrl-C again to quit at once)</source>
        <translation>interrompu ; arrêt des transferts (Ctrl-C encore une fois pour quitter aussitôt)</translation>
    </message>
    <message>
        <source>%1&apos;s password: </source>
        <translation>Mot de passe de %1 : </translation>
    </message>
    <message>
        <source>no password given for %1 (in ~/.netrc, with --password-stdin or on a terminal)</source>
        <translation>aucun mot de passe donné pour %1 (dans ~/.netrc, avec --password-stdin ou au terminal)</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>interrompu</translation>
    </message>
    <message>
        <source>no such remote directory: </source>
        <translation>aucun répertoire distant de ce nom : </translation>
    </message>
    <message>
        <source>cannot change to the remote directory %1: %2</source>
        <translation>impossible de passer au répertoire distant %1 : %2</translation>
    </message>
    <message>
        <source>Server Connection Failed.</source>
        <translation>La connexion au serveur a échoué.</translation>
    </message>
    <message>
        <source>logged in to %1, but %2 failed: %3</source>
        <translation>connecté à %1, mais %2 a échoué : %3</translation>
    </message>
    <message>
        <source>login to %1 failed at %2: %3</source>
        <translation>la connexion à %1 a échoué à l&apos;étape %2 : %3</translation>
    </message>
    <message>
        <source>login to %1 failed: %2</source>
        <translation>la connexion à %1 a échoué : %2</translation>
    </message>
    <message>
        <source>warning: a password in the address can be read by other users of this machine; ~/.netrc, --password-stdin or the terminal keep it to you</source>
        <translation>avertissement : un mot de passe dans l&apos;adresse peut être lu par les autres utilisateurs de cette machine ; ~/.netrc, --password-stdin ou le terminal le gardent pour vous</translation>
    </message>
    <message>
        <source>the address names no file or directory: </source>
        <translation>l&apos;adresse ne désigne ni fichier ni répertoire : </translation>
    </message>
    <message>
        <source>no such remote file or directory: </source>
        <translation>aucun fichier ni répertoire distant de ce nom : </translation>
    </message>
    <message>
        <source>not fetched: %1/: not a name a local directory can have</source>
        <translation>non récupéré : %1/ : pas un nom possible pour un répertoire local</translation>
    </message>
    <message>
        <source>not fetched: %1/: the server calls it &quot;%2&quot;</source>
        <translation>non récupéré : %1/ : le serveur l&apos;appelle « %2 »</translation>
    </message>
    <message>
        <source>not fetched: %1/: its local path lies outside %2</source>
        <translation>non récupéré : %1/ : son chemin local est en dehors de %2</translation>
    </message>
    <message>
        <source>cannot create the local directory </source>
        <translation>impossible de créer le répertoire local </translation>
    </message>
    <message>
        <source>nothing was transferred</source>
        <translation>rien n&apos;a été transféré</translation>
    </message>
    <message>
        <source>%1 bytes in %2 s (%3 MiB/s)</source>
        <translation>%1 octets en %2 s (%3 Mio/s)</translation>
    </message>
    <message>
        <source>not completed: </source>
        <translation>non terminé : </translation>
    </message>
    <message>
        <source>not fetched: </source>
        <translation>non récupéré : </translation>
    </message>
    <message>
        <source>1 item</source>
        <translation>1 élément</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 éléments</translation>
    </message>
    <message>
        <source>%1 did not complete</source>
        <translation>%1 non terminé(s)</translation>
    </message>
    <message>
        <source>%1 did not complete; resume with: quillftp-cli resume %2</source>
        <translation>%1 non terminé(s) ; reprendre avec : quillftp-cli resume %2</translation>
    </message>
    <message>
        <source>%1 could not be fetched</source>
        <translation>%1 n&apos;ont pas pu être récupérés</translation>
    </message>
    <message>
        <source>%1 did not run</source>
        <translation>%1 n&apos;a pas été exécuté</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 a échoué : %2</translation>
    </message>
    <message>
        <source>no such local file or directory: </source>
        <translation>aucun fichier ni répertoire local de ce nom : </translation>
    </message>
    <message>
        <source>not a regular file: </source>
        <translation>pas un fichier ordinaire : </translation>
    </message>
    <message>
        <source>cannot read the local directory of </source>
        <translation>impossible de lire le répertoire local de </translation>
    </message>
    <message>
        <source>the address names no directory: </source>
        <translation>l&apos;adresse ne désigne aucun répertoire : </translation>
    </message>
    <message>
        <source>%1 is not a directory (use rm)</source>
        <translation>%1 n&apos;est pas un répertoire (utilisez rm)</translation>
    </message>
    <message>
        <source>%1 is a directory (use rmdir, or rm -r)</source>
        <translation>%1 est un répertoire (utilisez rmdir, ou rm -r)</translation>
    </message>
    <message>
        <source>the mode must be three or four octal digits, such as 644: </source>
        <translation>le mode doit comporter trois ou quatre chiffres octaux, comme 644 : </translation>
    </message>
    <message>
        <source>no broken lists</source>
        <translation>aucune liste interrompue</translation>
    </message>
    <message>
        <source>no broken list %1 (%2 saved; quillftp-cli broken lists them)</source>
        <translation>aucune liste interrompue %1 (%2 enregistrées ; quillftp-cli broken les énumère)</translation>
    </message>
    <message>
        <source>login failed; the broken list is kept</source>
        <translation>la connexion a échoué ; la liste interrompue est conservée</translation>
    </message>
    <message>
        <source>login failed: %1; the broken list is kept</source>
        <translation>la connexion a échoué : %1 ; la liste interrompue est conservée</translation>
    </message>
    <message>
        <source>plan: </source>
        <translation>plan : </translation>
    </message>
    <message>
        <source>cannot read the plan </source>
        <translation>impossible de lire le plan </translation>
    </message>
    <message>
        <source>no such local directory: </source>
        <translation>aucun répertoire local de ce nom : </translation>
    </message>
    <message>
        <source>cannot write the plan to </source>
        <translation>impossible d&apos;écrire le plan dans </translation>
    </message>
    <message>
        <source>the plan is in %1; carry it out with: quillftp-cli sync --apply %1</source>
        <translation>le plan est dans %1 ; exécutez-le avec : quillftp-cli sync --apply %1</translation>
    </message>
    <message>
        <source>not done: </source>
        <translation>non fait : </translation>
    </message>
    <message>
        <source>%1 action done</source>
        <translation>%1 action effectuée</translation>
    </message>
    <message>
        <source>%1 actions done</source>
        <translation>%1 actions effectuées</translation>
    </message>
    <message>
        <source>%1 not done</source>
        <translation>%1 non faite(s)</translation>
    </message>
    <message>
        <source>; the state of the folders was not kept</source>
        <translation> ; l&apos;état des dossiers n&apos;a pas été conservé</translation>
    </message>
    <message>
        <source>%1 conflict is left for you to resolve</source>
        <translation>%1 conflit reste à résoudre par vous</translation>
    </message>
    <message>
        <source>%1 conflicts are left for you to resolve</source>
        <translation>%1 conflits restent à résoudre par vous</translation>
    </message>
    <message>
        <source>the certificate of %1 is not trusted (%2)</source>
        <translation>le certificat de %1 n&apos;est pas approuvé (%2)</translation>
    </message>
    <message>
        <source>  subject: </source>
        <translation>  sujet :    </translation>
    </message>
    <message>
        <source>  issuer:  </source>
        <translation>  émetteur : </translation>
    </message>
    <message>
        <source>  valid:   </source>
        <translation>  valide :   </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>du %1 au %2</translation>
    </message>
    <message>
        <source>  (not the certificate --trust names)</source>
        <translation>  (pas le certificat que désigne --trust)</translation>
    </message>
    <message>
        <source>to connect to it anyway, add --trust </source>
        <translation>pour s&apos;y connecter quand même, ajoutez --trust </translation>
    </message>
    <message>
        <source>the host key of %1 is unknown (%2)</source>
        <translation>la clé d&apos;hôte de %1 est inconnue (%2)</translation>
    </message>
    <message>
        <source>  (not the key --trust names)</source>
        <translation>  (pas la clé que désigne --trust)</translation>
    </message>
    <message>
        <source>Passphrase for %1: </source>
        <translation>Phrase de passe pour %1 : </translation>
    </message>
    <message>
        <source>This local file exists!</source>
        <translation>Ce fichier local existe !</translation>
    </message>
    <message>
        <source>[o]verwrite, overwrite [a]ll, [s]kip, skip a[l]l? </source>
        <translation>[o] écraser, écraser [a]ussi les autres, [s]auter, sauter [l]es autres ? </translation>
    </message>
    <message>
        <source>%1 may be read or changed by other users: not used (chmod 600 %1)</source>
        <translation>%1 peut être lu ou modifié par d&apos;autres utilisateurs : non utilisé (chmod 600 %1)</translation>
    </message>
    <message>
        <source>: cannot be read</source>
        <translation> : illisible</translation>
    </message>
    <message>
        <source> (quillftp-cli --help shows the usage)</source>
        <translation> (quillftp-cli --help affiche l&apos;usage)</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>no reply within %1 seconds to a command sent ahead</source>
        <translation>pas de réponse en %1 secondes à une commande envoyée d&apos;avance</translation>
    </message>
    <message>
        <source>no data moved for %1 seconds</source>
        <translation>aucune donnée n&apos;a circulé depuis %1 secondes</translation>
    </message>
    <message>
        <source>no reply within %1 seconds</source>
        <translation>pas de réponse en %1 secondes</translation>
    </message>
    <message>
        <source>Timeout: </source>
        <translation>Délai dépassé : </translation>
    </message>
    <message>
        <source>! Reply line too long, cut to %1 bytes</source>
        <translation>! Ligne de réponse trop longue, coupée à %1 octets</translation>
    </message>
    <message>
        <source>! The server closed the connection after the range was complete</source>
        <translation>! Le serveur a fermé la connexion une fois la plage complète</translation>
    </message>
    <message>
        <source>! The reply to %1, sent ahead, is not needed</source>
        <translation>! La réponse à %1, envoyé d&apos;avance, n&apos;est pas utile</translation>
    </message>
    <message>
        <source>TLS if the server offers it</source>
        <translation>TLS si le serveur le propose</translation>
    </message>
    <message>
        <source>require TLS</source>
        <translation>exiger TLS</translation>
    </message>
    <message>
        <source>implicit TLS</source>
        <translation>TLS implicite</translation>
    </message>
    <message>
        <source>plain FTP</source>
        <translation>FTP simple</translation>
    </message>
    <message>
        <source>The server refused TLS (%1): TLS is required, so the login stops before the password is sent</source>
        <translation>Le serveur a refusé TLS (%1) : TLS est exigé, la connexion s&apos;arrête donc avant l&apos;envoi du mot de passe</translation>
    </message>
    <message>
        <source>! The server does not offer TLS: the login goes on in plain FTP</source>
        <translation>! Le serveur ne propose pas TLS : la connexion continue en FTP simple</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted (%1)</source>
        <translation>Le certificat du serveur n&apos;est pas approuvé (%1)</translation>
    </message>
    <message>
        <source>%1, certificate SHA-256 %2</source>
        <translation>%1, certificat SHA-256 %2</translation>
    </message>
    <message>
        <source> (%1, accepted)</source>
        <translation> (%1, accepté)</translation>
    </message>
    <message>
        <source>The server refused to protect data connections (%1)</source>
        <translation>Le serveur a refusé de protéger les connexions de données (%1)</translation>
    </message>
    <message>
        <source>! The server refused to protect data connections: file data goes unencrypted</source>
        <translation>! Le serveur a refusé de protéger les connexions de données : les données des fichiers passent en clair</translation>
    </message>
    <message>
        <source>! Data connection: </source>
        <translation>! Connexion de données : </translation>
    </message>
    <message>
        <source>the data connection&apos;s certificate is not the server&apos;s</source>
        <translation>le certificat de la connexion de données n&apos;est pas celui du serveur</translation>
    </message>
    <message>
        <source>! Refused a data connection: </source>
        <translation>! Connexion de données refusée : </translation>
    </message>
    <message>
        <source>! Abort requested</source>
        <translation>! Interruption demandée</translation>
    </message>
    <message>
        <source>%1 bytes received/sent in %2 seconds</source>
        <translation>%1 octets reçus/envoyés en %2 secondes</translation>
    </message>
    <message>
        <source> (%1 Bytes/sec)</source>
        <translation> (%1 octets/s)</translation>
    </message>
    <message>
        <source>! Refused a data connection from %1 (the server is %2)</source>
        <translation>! Connexion de données refusée depuis %1 (le serveur est %2)</translation>
    </message>
    <message>
        <source>! The server sent more than the file holds from offset %1: it did not start where REST asked</source>
        <translation>! Le serveur a envoyé plus que le fichier ne contient depuis la position %1 : il n&apos;a pas commencé là où REST le demandait</translation>
    </message>
    <message>
        <source>! Error writing local file: </source>
        <translation>! Erreur d&apos;écriture du fichier local : </translation>
    </message>
    <message>
        <source>! Data: Receive error </source>
        <translation>! Données : erreur de réception </translation>
    </message>
    <message>
        <source>! More than %1 MiB received: given up</source>
        <translation>! Plus de %1 Mio reçus : abandon</translation>
    </message>
    <message>
        <source>! Error #%1 sending data</source>
        <translation>! Erreur n°%1 à l&apos;envoi des données</translation>
    </message>
    <message>
        <source>! Error reading file: </source>
        <translation>! Erreur de lecture du fichier : </translation>
    </message>
    <message>
        <source>! RETR/LIST/NLST Failed</source>
        <translation>! Échec de RETR/LIST/NLST</translation>
    </message>
    <message>
        <source>! STOR Failed</source>
        <translation>! Échec de STOR</translation>
    </message>
    <message>
        <source>the history %1 cannot be opened: %2</source>
        <translation>l&apos;historique %1 ne peut pas être ouvert : %2</translation>
    </message>
    <message>
        <source>the history %1 cannot be written: %2</source>
        <translation>l&apos;historique %1 ne peut pas être écrit : %2</translation>
    </message>
    <message>
        <source>the history %1 cannot be read: %2</source>
        <translation>l&apos;historique %1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>! The server refused MLSD: listings come by LIST</source>
        <translation>! Le serveur a refusé MLSD : les listes passent par LIST</translation>
    </message>
    <message>
        <source>Using Proxy Connecting to %1 ...</source>
        <translation>Connexion à %1 par le proxy ...</translation>
    </message>
    <message>
        <source>Using Socks Connecting to %1 ...</source>
        <translation>Connexion à %1 par SOCKS ...</translation>
    </message>
    <message>
        <source>Connecting to %1 ...</source>
        <translation>Connexion à %1 ...</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for it (trusted SHA-256 %2, now SHA-256 %3): refused</source>
        <translation>Le certificat de %1 n&apos;est pas celui qui est approuvé pour lui (approuvé SHA-256 %2, maintenant SHA-256 %3) : refusé</translation>
    </message>
    <message>
        <source>! The trusted certificate could not be saved: it is trusted for this run only</source>
        <translation>! Le certificat approuvé n&apos;a pas pu être enregistré : il n&apos;est approuvé que pour cette fois</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted (%2): not connected</source>
        <translation>Le certificat de %1 n&apos;est pas approuvé (%2) : non connecté</translation>
    </message>
    <message>
        <source>User Aborted</source>
        <translation>Interrompu par l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Connection Lost</source>
        <translation>Connexion perdue</translation>
    </message>
    <message>
        <source>! The server did not take commands sent together: one command at a time from now on</source>
        <translation>! Le serveur n&apos;a pas accepté les commandes envoyées ensemble : une commande à la fois désormais</translation>
    </message>
    <message>
        <source>! Login failed: </source>
        <translation>! Échec de la connexion : </translation>
    </message>
    <message>
        <source>! Commands sent ahead are not needed any more: the connection closes</source>
        <translation>! Les commandes envoyées d&apos;avance ne sont plus utiles : la connexion se ferme</translation>
    </message>
    <message>
        <source>! The server lists no directory by its path: CWD first from now on</source>
        <translation>! Le serveur ne liste aucun répertoire par son chemin : CWD d&apos;abord désormais</translation>
    </message>
    <message>
        <source>the greeting</source>
        <translation>l&apos;accueil</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>the login</source>
        <translation>la connexion</translation>
    </message>
    <message>
        <source>Server Connection Failed.</source>
        <translation>La connexion au serveur a échoué.</translation>
    </message>
    <message>
        <source>! The connection was lost at </source>
        <translation>! La connexion a été perdue à l&apos;étape </translation>
    </message>
    <message>
        <source>Retry Connection...</source>
        <translation>Nouvelle tentative de connexion...</translation>
    </message>
    <message>
        <source>! The reply to PWD names no directory</source>
        <translation>! La réponse à PWD ne désigne aucun répertoire</translation>
    </message>
    <message>
        <source>the reply names no directory: </source>
        <translation>la réponse ne désigne aucun répertoire : </translation>
    </message>
    <message>
        <source>Lost Connection, Please Reconnect</source>
        <translation>Connexion perdue, veuillez vous reconnecter</translation>
    </message>
    <message>
        <source>the reply to PWD names no directory: </source>
        <translation>la réponse à PWD ne désigne aucun répertoire : </translation>
    </message>
    <message>
        <source>an unsafe name</source>
        <translation>un nom dangereux</translation>
    </message>
    <message>
        <source>the server calls it &quot;%1&quot;</source>
        <translation>le serveur l&apos;appelle « %1 »</translation>
    </message>
    <message>
        <source>the server calls it %1, a directory walked already</source>
        <translation>le serveur l&apos;appelle %1, un répertoire déjà parcouru</translation>
    </message>
    <message>
        <source>the server calls it %1, outside the walked tree</source>
        <translation>le serveur l&apos;appelle %1, en dehors de l&apos;arborescence parcourue</translation>
    </message>
    <message>
        <source>the reply to PWD names no directory</source>
        <translation>la réponse à PWD ne désigne aucun répertoire</translation>
    </message>
    <message>
        <source>the same directory as %1, walked there</source>
        <translation>le même répertoire que %1, parcouru là</translation>
    </message>
    <message>
        <source>! No size for %1 (&quot;%2&quot;), counted as 0</source>
        <translation>! Pas de taille pour %1 (« %2 »), comptée comme 0</translation>
    </message>
    <message>
        <source>it lies deeper than </source>
        <translation>il se trouve plus profond que </translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>la connexion a été perdue</translation>
    </message>
    <message>
        <source>! Not walked: %1</source>
        <translation>! Non parcouru : %1</translation>
    </message>
    <message>
        <source>! An FTP proxy does not carry SFTP: connecting without it</source>
        <translation>! Un proxy FTP ne porte pas le SFTP : connexion sans lui</translation>
    </message>
    <message>
        <source>Connecting to %1 (SFTP) ...</source>
        <translation>Connexion à %1 (SFTP) ...</translation>
    </message>
    <message>
        <source>the server names no home directory</source>
        <translation>le serveur ne désigne aucun répertoire personnel</translation>
    </message>
    <message>
        <source>listing of </source>
        <translation>liste de </translation>
    </message>
    <message>
        <source>the server names no such directory</source>
        <translation>le serveur ne connaît pas ce répertoire</translation>
    </message>
    <message>
        <source>not an octal mode</source>
        <translation>pas un mode octal</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>the server gives no size</source>
        <translation>le serveur ne donne pas de taille</translation>
    </message>
    <message>
        <source>the server gives no time</source>
        <translation>le serveur ne donne pas d&apos;heure</translation>
    </message>
    <message>
        <source>the server offers no file hashes</source>
        <translation>le serveur ne propose pas d&apos;empreintes de fichiers</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no octal mode</source>
        <translation>« %1 » n&apos;est pas un mode octal</translation>
    </message>
    <message>
        <source>more than %1 directories deep, left alone</source>
        <translation>plus de %1 répertoires de profondeur, laissé tel quel</translation>
    </message>
    <message>
        <source>Deleting the contents of </source>
        <translation>Suppression du contenu de </translation>
    </message>
    <message>
        <source>the same directory as %1, left alone</source>
        <translation>le même répertoire que %1, laissé tel quel</translation>
    </message>
    <message>
        <source>an unsafe name, left alone</source>
        <translation>un nom dangereux, laissé tel quel</translation>
    </message>
    <message>
        <source>the connection was closed during the TLS negotiation</source>
        <translation>la connexion a été fermée pendant la négociation TLS</translation>
    </message>
    <message>
        <source>TLS error </source>
        <translation>erreur TLS </translation>
    </message>
    <message>
        <source>TLS negotiation failed</source>
        <translation>échec de la négociation TLS</translation>
    </message>
    <message>
        <source>TLS receive failed</source>
        <translation>échec de la réception TLS</translation>
    </message>
    <message>
        <source>TLS send failed</source>
        <translation>échec de l&apos;envoi TLS</translation>
    </message>
    <message>
        <source>the server sent no certificate</source>
        <translation>le serveur n&apos;a envoyé aucun certificat</translation>
    </message>
    <message>
        <source>local file: </source>
        <translation>fichier local : </translation>
    </message>
    <message>
        <source>connection lost: </source>
        <translation>connexion perdue : </translation>
    </message>
    <message>
        <source>no answer in %1 seconds</source>
        <translation>pas de réponse en %1 secondes</translation>
    </message>
    <message>
        <source>the server closed the SFTP channel</source>
        <translation>le serveur a fermé le canal SFTP</translation>
    </message>
    <message>
        <source>the server sent a packet no SFTP packet is</source>
        <translation>le serveur a envoyé un paquet qui n&apos;est pas un paquet SFTP</translation>
    </message>
    <message>
        <source>the server speaks SFTP version %1 only</source>
        <translation>le serveur ne parle que la version %1 de SFTP</translation>
    </message>
    <message>
        <source>the server answered a request never made (id %1)</source>
        <translation>le serveur a répondu à une requête jamais faite (id %1)</translation>
    </message>
    <message>
        <source>! SFTP connection lost: </source>
        <translation>! Connexion SFTP perdue : </translation>
    </message>
    <message>
        <source>connect</source>
        <translation>connexion</translation>
    </message>
    <message>
        <source>SSH handshake</source>
        <translation>poignée de main SSH</translation>
    </message>
    <message>
        <source>host key</source>
        <translation>clé d&apos;hôte</translation>
    </message>
    <message>
        <source>authentication</source>
        <translation>authentification</translation>
    </message>
    <message>
        <source>SFTP channel</source>
        <translation>canal SFTP</translation>
    </message>
    <message>
        <source>Connecting to %1 (SSH)</source>
        <translation>Connexion à %1 (SSH)</translation>
    </message>
    <message>
        <source>the connection could not be handed to SSH</source>
        <translation>la connexion n&apos;a pas pu être confiée à SSH</translation>
    </message>
    <message>
        <source>the server offers no SFTP subsystem: </source>
        <translation>le serveur ne propose pas de sous-système SFTP : </translation>
    </message>
    <message>
        <source>Host key %1</source>
        <translation>Clé d&apos;hôte %1</translation>
    </message>
    <message>
        <source>the host key of %1 has changed: it showed %2, not the key kept for it in %3; if the server&apos;s key really changed, remove that line</source>
        <translation>la clé d&apos;hôte de %1 a changé : elle montrait %2, pas la clé gardée pour lui dans %3 ; si la clé du serveur a vraiment changé, supprimez cette ligne</translation>
    </message>
    <message>
        <source>the host key %1 is not the one trusted (%2)</source>
        <translation>la clé d&apos;hôte %1 n&apos;est pas celle qui est approuvée (%2)</translation>
    </message>
    <message>
        <source>the host key %1 is unknown; to trust it, give --trust %2</source>
        <translation>la clé d&apos;hôte %1 est inconnue ; pour l&apos;approuver, donnez --trust %2</translation>
    </message>
    <message>
        <source>the host key %1 was not trusted</source>
        <translation>la clé d&apos;hôte %1 n&apos;a pas été approuvée</translation>
    </message>
    <message>
        <source>Logged in as </source>
        <translation>Connecté en tant que </translation>
    </message>
    <message>
        <source>the server refused the login of %1 (it takes: %2)</source>
        <translation>le serveur a refusé la connexion de %1 (il accepte : %2)</translation>
    </message>
    <message>
        <source>the server refused the login of %1 (it takes: %2; no password was given)</source>
        <translation>le serveur a refusé la connexion de %1 (il accepte : %2 ; aucun mot de passe n&apos;a été donné)</translation>
    </message>
    <message>
        <source>the SSH library failed</source>
        <translation>la bibliothèque SSH a échoué</translation>
    </message>
    <message>
        <source>! SSH %1 failed: %2</source>
        <translation>! Échec SSH à l&apos;étape %1 : %2</translation>
    </message>
    <message>
        <source>a negative size</source>
        <translation>une taille négative</translation>
    </message>
    <message>
        <source>a negative offset</source>
        <translation>une position négative</translation>
    </message>
    <message>
        <source>an offset past the end of the file</source>
        <translation>une position au-delà de la fin du fichier</translation>
    </message>
    <message>
        <source>a range that ends before it begins</source>
        <translation>une plage qui finit avant de commencer</translation>
    </message>
    <message>
        <source>the list names no local directory</source>
        <translation>la liste ne désigne aucun répertoire local</translation>
    </message>
    <message>
        <source>a local path that is not absolute</source>
        <translation>un chemin local qui n&apos;est pas absolu</translation>
    </message>
    <message>
        <source>a local path that is no plain file name</source>
        <translation>un chemin local qui n&apos;est pas un simple nom de fichier</translation>
    </message>
    <message>
        <source>a local path outside </source>
        <translation>un chemin local en dehors de </translation>
    </message>
    <message>
        <source>no regular file to upload</source>
        <translation>pas de fichier ordinaire à envoyer</translation>
    </message>
    <message>
        <source>Local file can&apos;t access!</source>
        <translation>Impossible d&apos;accéder au fichier local !</translation>
    </message>
    <message>
        <source>the local file cannot be replaced</source>
        <translation>le fichier local ne peut pas être remplacé</translation>
    </message>
    <message>
        <source>Disk free space not enough !<byte value="xd"/>Need space = %1<byte value="xd"/>We have free space = %2<byte value="xd"/>Please free some space then click Yes or click No for cancelling</source>
        <translation>Pas assez d&apos;espace libre !<byte value="xd"/>Espace nécessaire = %1<byte value="xd"/>Espace libre = %2<byte value="xd"/>Libérez de l&apos;espace puis cliquez sur Oui, ou sur Non pour annuler</translation>
    </message>
    <message>
        <source>Space not enough</source>
        <translation>Espace insuffisant</translation>
    </message>
    <message>
        <source>DOWNLOAD FAILED ! Check status to see more information</source>
        <translation>ÉCHEC DU TÉLÉCHARGEMENT ! Voir l&apos;état pour plus de détails</translation>
    </message>
    <message>
        <source>not listed</source>
        <translation>non listé</translation>
    </message>
    <message>
        <source>not finished</source>
        <translation>non terminé</translation>
    </message>
    <message>
        <source>Skipped at the user&apos;s word: </source>
        <translation>Sauté à la demande de l&apos;utilisateur : </translation>
    </message>
    <message>
        <source>Will try %1 again at the user&apos;s word</source>
        <translation>Nouvel essai de %1 à la demande de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>the link leads to %1, outside the walked tree</source>
        <translation>le lien mène à %1, en dehors de l&apos;arborescence parcourue</translation>
    </message>
    <message>
        <source>the link leads to %1, a directory walked already</source>
        <translation>le lien mène à %1, un répertoire déjà parcouru</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>son chemin local est en dehors de %1</translation>
    </message>
    <message>
        <source>its size, %1 bytes, is more than any file has</source>
        <translation>sa taille, %1 octets, dépasse celle de tout fichier</translation>
    </message>
    <message>
        <source>! Not queued: %1</source>
        <translation>! Non mis en file : %1</translation>
    </message>
    <message>
        <source>! Not queued: %1 lies outside %2</source>
        <translation>! Non mis en file : %1 est en dehors de %2</translation>
    </message>
    <message>
        <source>the server sent from byte 0, not from the offset asked for</source>
        <translation>le serveur a envoyé depuis l&apos;octet 0, pas depuis la position demandée</translation>
    </message>
    <message>
        <source>! Only %1 of %2 bytes of %3 arrived</source>
        <translation>! Seulement %1 octets sur %2 de %3 sont arrivés</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes received</source>
        <translation>seulement %1 octets reçus sur %2</translation>
    </message>
    <message>
        <source>! %1 has %2 bytes, not %3 as listed</source>
        <translation>! %1 fait %2 octets, pas %3 comme listé</translation>
    </message>
    <message>
        <source>it ended at byte %1, not %2</source>
        <translation>il s&apos;est arrêté à l&apos;octet %1, pas %2</translation>
    </message>
    <message>
        <source>! %1 ended at byte %2, not %3</source>
        <translation>! %1 s&apos;est arrêté à l&apos;octet %2, pas %3</translation>
    </message>
    <message>
        <source>, twice</source>
        <translation>, deux fois</translation>
    </message>
    <message>
        <source>Will fetch %1 once more from byte 0</source>
        <translation>Nouvelle récupération de %1 depuis l&apos;octet 0</translation>
    </message>
    <message>
        <source>Will try %1 again (%2 of %3)</source>
        <translation>Nouvel essai de %1 (%2 sur %3)</translation>
    </message>
    <message>
        <source>Not completed: %1 (%2)</source>
        <translation>Non terminé : %1 (%2)</translation>
    </message>
    <message>
        <source>; it comes again from byte 0 in one stream, and nothing more is fetched from an offset on this server</source>
        <translation> ; il revient depuis l&apos;octet 0 en un seul flux, et plus rien n&apos;est récupéré depuis une position sur ce serveur</translation>
    </message>
    <message>
        <source>! %1: %2 matches the server&apos;s</source>
        <translation>! %1 : %2 concorde avec celui du serveur</translation>
    </message>
    <message>
        <source>! %1: %2 differs from the server&apos;s</source>
        <translation>! %1 : %2 diffère de celui du serveur</translation>
    </message>
    <message>
        <source>%1 differs from the server&apos;s, twice</source>
        <translation>%1 diffère de celui du serveur, deux fois</translation>
    </message>
    <message>
        <source>Will try %1 again in one stream</source>
        <translation>Nouvel essai de %1 en un seul flux</translation>
    </message>
    <message>
        <source>Logging in again</source>
        <translation>Nouvelle connexion</translation>
    </message>
    <message>
        <source>! No modification time of %1 from the server</source>
        <translation>! Pas de date de modification de %1 venant du serveur</translation>
    </message>
    <message>
        <source>! No %1 of %2 from the server: not checked</source>
        <translation>! Pas de %1 de %2 venant du serveur : non vérifié</translation>
    </message>
    <message>
        <source>! The server did not take the file&apos;s time</source>
        <translation>! Le serveur n&apos;a pas accepté la date du fichier</translation>
    </message>
</context>
<context>
    <name>Keyring</name>
    <message>
        <source>the keyring refused it</source>
        <translation>le trousseau l&apos;a refusé</translation>
    </message>
    <message>
        <source>The desktop&apos;s keyring cannot be reached (%1)</source>
        <translation>Le trousseau du bureau est injoignable (%1)</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Connect &amp;Once</source>
        <translation>Se connecter une &amp;fois</translation>
    </message>
    <message>
        <source>&amp;Trust Always</source>
        <translation>&amp;Toujours faire confiance</translation>
    </message>
    <message>
        <source>Subject: %1
Issuer: %2
Valid from: %3
Valid until: %4
SHA-256 fingerprint:
%5</source>
        <translation>Sujet : %1
Émetteur : %2
Valide du : %3
Valide jusqu&apos;au : %4
Empreinte SHA-256 :
%5</translation>
    </message>
    <message>
        <source>Unknown Certificate</source>
        <translation>Certificat inconnu</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted (%2).
Connect only if it is the server&apos;s own certificate.</source>
        <translation>Le certificat de %1 n&apos;est pas approuvé (%2).
Ne vous connectez que s&apos;il s&apos;agit du certificat propre au serveur.</translation>
    </message>
    <message>
        <source>Key Passphrase</source>
        <translation>Phrase de passe de la clé</translation>
    </message>
    <message>
        <source>The passphrase of the SSH key %1:</source>
        <translation>La phrase de passe de la clé SSH %1 :</translation>
    </message>
    <message>
        <source>Unknown Host Key</source>
        <translation>Clé d&apos;hôte inconnue</translation>
    </message>
    <message>
        <source>The SSH host key of %1 is not known.
Connect only if it is the server&apos;s own key.</source>
        <translation>La clé d&apos;hôte SSH de %1 n&apos;est pas connue.
Ne vous connectez que s&apos;il s&apos;agit de la clé propre au serveur.</translation>
    </message>
    <message>
        <source>Key type: %1
Fingerprint:
%2</source>
        <translation>Type de clé : %1
Empreinte :
%2</translation>
    </message>
</context>
<context>
    <name>Sync</name>
    <message>
        <source>%1 day</source>
        <translation>%1 jour</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 jours</translation>
    </message>
    <message>
        <source>%1 minute</source>
        <translation>%1 minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 seconde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 secondes</translation>
    </message>
    <message>
        <source>no time on this side</source>
        <translation>pas d&apos;heure de ce côté</translation>
    </message>
    <message>
        <source>no time on the other side</source>
        <translation>pas d&apos;heure de l&apos;autre côté</translation>
    </message>
    <message>
        <source>the same to within %1</source>
        <translation>identique à %1 près</translation>
    </message>
    <message>
        <source>the server&apos;s time zone is not known: times within %1 cannot be ordered</source>
        <translation>le fuseau horaire du serveur est inconnu : des heures à moins de %1 ne peuvent pas être ordonnées</translation>
    </message>
    <message>
        <source>a directory here, a file there</source>
        <translation>un répertoire ici, un fichier là-bas</translation>
    </message>
    <message>
        <source>a file here, a directory there</source>
        <translation>un fichier ici, un répertoire là-bas</translation>
    </message>
    <message>
        <source>%1 bytes here, %2 there</source>
        <translation>%1 octets ici, %2 là-bas</translation>
    </message>
    <message>
        <source>; newer here</source>
        <translation> ; plus récent ici</translation>
    </message>
    <message>
        <source>; newer there</source>
        <translation> ; plus récent là-bas</translation>
    </message>
    <message>
        <source>no size on this side</source>
        <translation>pas de taille de ce côté</translation>
    </message>
    <message>
        <source>no size on the other side</source>
        <translation>pas de taille de l&apos;autre côté</translation>
    </message>
    <message>
        <source>no connection could list it</source>
        <translation>aucune connexion n&apos;a pu le lister</translation>
    </message>
    <message>
        <source>! Again: </source>
        <translation>! À nouveau : </translation>
    </message>
    <message>
        <source>the listing failed</source>
        <translation>la liste a échoué</translation>
    </message>
    <message>
        <source>its listing holds exactly %1 entries, as a server that cuts listings short gives</source>
        <translation>sa liste contient exactement %1 entrées, comme en donne un serveur qui tronque les listes</translation>
    </message>
    <message>
        <source>more than %1 directories deep</source>
        <translation>plus de %1 répertoires de profondeur</translation>
    </message>
    <message>
        <source>the listing of %1 failed here: what it holds there is not known</source>
        <translation>la liste de %1 a échoué ici : ce qu&apos;il y contient est inconnu</translation>
    </message>
    <message>
        <source>the listing of %1 failed there: what it holds there is not known</source>
        <translation>la liste de %1 a échoué là-bas : ce qu&apos;il y contient est inconnu</translation>
    </message>
    <message>
        <source>the folder</source>
        <translation>le dossier</translation>
    </message>
    <message>
        <source>a symbolic link here: links are not synchronized</source>
        <translation>un lien symbolique ici : les liens ne sont pas synchronisés</translation>
    </message>
    <message>
        <source>a symbolic link there: links are not synchronized</source>
        <translation>un lien symbolique là-bas : les liens ne sont pas synchronisés</translation>
    </message>
    <message>
        <source>below the symbolic link %1: not synchronized</source>
        <translation>sous le lien symbolique %1 : non synchronisé</translation>
    </message>
    <message>
        <source>the same size, other content by digest</source>
        <translation>même taille, autre contenu selon l&apos;empreinte</translation>
    </message>
    <message>
        <source>newer there: an older file does not replace it</source>
        <translation>plus récent là-bas : un fichier plus ancien ne le remplace pas</translation>
    </message>
    <message>
        <source>newer here: an older file does not replace it</source>
        <translation>plus récent ici : un fichier plus ancien ne le remplace pas</translation>
    </message>
    <message>
        <source>only here</source>
        <translation>seulement ici</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>seulement là-bas</translation>
    </message>
    <message>
        <source>only there; deletions were not asked for</source>
        <translation>seulement là-bas ; les suppressions n&apos;ont pas été demandées</translation>
    </message>
    <message>
        <source>only here; deletions were not asked for</source>
        <translation>seulement ici ; les suppressions n&apos;ont pas été demandées</translation>
    </message>
    <message>
        <source>newer here</source>
        <translation>plus récent ici</translation>
    </message>
    <message>
        <source>newer there</source>
        <translation>plus récent là-bas</translation>
    </message>
    <message>
        <source>: an older file does not replace a newer one</source>
        <translation> : un fichier plus ancien ne remplace pas un plus récent</translation>
    </message>
    <message>
        <source>; which is newer cannot be told (%1): not replaced</source>
        <translation> ; impossible de dire lequel est le plus récent (%1) : non remplacé</translation>
    </message>
    <message>
        <source>: not replaced</source>
        <translation> : non remplacé</translation>
    </message>
    <message>
        <source>changed on both sides since the last synchronization</source>
        <translation>modifié des deux côtés depuis la dernière synchronisation</translation>
    </message>
    <message>
        <source>; which is newer cannot be told (%1)</source>
        <translation> ; impossible de dire lequel est le plus récent (%1)</translation>
    </message>
    <message>
        <source>; which is newer cannot be told</source>
        <translation> ; impossible de dire lequel est le plus récent</translation>
    </message>
    <message>
        <source>changed here since the last synchronization</source>
        <translation>modifié ici depuis la dernière synchronisation</translation>
    </message>
    <message>
        <source>changed there since the last synchronization</source>
        <translation>modifié là-bas depuis la dernière synchronisation</translation>
    </message>
    <message>
        <source>deleted here since the last synchronization</source>
        <translation>supprimé ici depuis la dernière synchronisation</translation>
    </message>
    <message>
        <source>deleted there since the last synchronization</source>
        <translation>supprimé là-bas depuis la dernière synchronisation</translation>
    </message>
    <message>
        <source>deleted here since the last synchronization; deletions were not asked for</source>
        <translation>supprimé ici depuis la dernière synchronisation ; les suppressions n&apos;ont pas été demandées</translation>
    </message>
    <message>
        <source>deleted there since the last synchronization; deletions were not asked for</source>
        <translation>supprimé là-bas depuis la dernière synchronisation ; les suppressions n&apos;ont pas été demandées</translation>
    </message>
    <message>
        <source>not deleted: it still holds </source>
        <translation>non supprimé : il contient encore </translation>
    </message>
    <message>
        <source>the local listing of %1 failed</source>
        <translation>la liste locale de %1 a échoué</translation>
    </message>
    <message>
        <source>the remote listing of </source>
        <translation>la liste distante de </translation>
    </message>
    <message>
        <source>not deleted: </source>
        <translation>non supprimé : </translation>
    </message>
    <message>
        <source>No deletions: %1.</source>
        <translation>Aucune suppression : %1.</translation>
    </message>
    <message>
        <source>the local folder lists empty, where the last synchronization found %1 entries</source>
        <translation>le dossier local est vide, là où la dernière synchronisation a trouvé %1 entrées</translation>
    </message>
    <message>
        <source>the remote folder lists empty, where the last synchronization found %1 entries</source>
        <translation>le dossier distant est vide, là où la dernière synchronisation a trouvé %1 entrées</translation>
    </message>
    <message>
        <source>%1 to upload</source>
        <translation>%1 à envoyer</translation>
    </message>
    <message>
        <source>%1 to download</source>
        <translation>%1 à télécharger</translation>
    </message>
    <message>
        <source>%1 remote directory to make</source>
        <translation>%1 répertoire distant à créer</translation>
    </message>
    <message>
        <source>%1 remote directories to make</source>
        <translation>%1 répertoires distants à créer</translation>
    </message>
    <message>
        <source>%1 local directory to make</source>
        <translation>%1 répertoire local à créer</translation>
    </message>
    <message>
        <source>%1 local directories to make</source>
        <translation>%1 répertoires locaux à créer</translation>
    </message>
    <message>
        <source>%1 remote to delete</source>
        <translation>%1 à supprimer à distance</translation>
    </message>
    <message>
        <source>%1 local to delete</source>
        <translation>%1 à supprimer en local</translation>
    </message>
    <message>
        <source>%1 skipped</source>
        <translation>%1 sauté(s)</translation>
    </message>
    <message>
        <source>%1 conflict (left as it is)</source>
        <translation>%1 conflit (laissé tel quel)</translation>
    </message>
    <message>
        <source>%1 conflicts (left as they are)</source>
        <translation>%1 conflits (laissés tels quels)</translation>
    </message>
    <message>
        <source> (%1 byte)</source>
        <translation> (%1 octet)</translation>
    </message>
    <message>
        <source> (%1 bytes)</source>
        <translation> (%1 octets)</translation>
    </message>
    <message>
        <source>%1 unchanged</source>
        <translation>%1 inchangé(s)</translation>
    </message>
    <message>
        <source>not a JSON document: </source>
        <translation>pas un document JSON : </translation>
    </message>
    <message>
        <source>not a synchronization plan of this program</source>
        <translation>pas un plan de synchronisation de ce programme</translation>
    </message>
    <message>
        <source>an action the plan cannot name: </source>
        <translation>une action que le plan ne sait pas nommer : </translation>
    </message>
    <message>
        <source>a path that leaves the folders: </source>
        <translation>un chemin qui sort des dossiers : </translation>
    </message>
    <message>
        <source>the plan names no folders</source>
        <translation>le plan ne désigne aucun dossier</translation>
    </message>
    <message>
        <source>no such local directory: </source>
        <translation>aucun répertoire local de ce nom : </translation>
    </message>
</context>
<context>
    <name>TAntiIdlePage</name>
    <message>
        <source>Anti Idle</source>
        <translation>Anti-inactivité</translation>
    </message>
    <message>
        <source>Use there commands in random order</source>
        <translation>Utiliser ces commandes dans un ordre aléatoire</translation>
    </message>
    <message>
        <source>&amp;Enable Anti Idle</source>
        <translation>&amp;Activer l&apos;anti-inactivité</translation>
    </message>
    <message>
        <source>Anti Idle &amp;Interval </source>
        <translation>&amp;Intervalle de l&apos;anti-inactivité </translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>Anti Idle Interval</source>
        <translation>Intervalle de l&apos;anti-inactivité</translation>
    </message>
</context>
<context>
    <name>TAsciiExtensionPage</name>
    <message>
        <source>ASCII Extension</source>
        <translation>Extensions ASCII</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>ASCII extensions</source>
        <translation>Extensions ASCII</translation>
    </message>
    <message>
        <source>Add Extension</source>
        <translation>Ajouter une extension</translation>
    </message>
    <message>
        <source>New = </source>
        <translation>Nouvelle = </translation>
    </message>
    <message>
        <source>This extension exists!</source>
        <translation>Cette extension existe déjà !</translation>
    </message>
</context>
<context>
    <name>TFontsPage</name>
    <message>
        <source>Fonts</source>
        <translation>Polices</translation>
    </message>
    <message>
        <source>Program Font</source>
        <translation>Police du programme</translation>
    </message>
    <message>
        <source>Set &amp;Program Font</source>
        <translation>Choisir la police du &amp;programme</translation>
    </message>
    <message>
        <source>Log Window Font</source>
        <translation>Police de la fenêtre du journal</translation>
    </message>
    <message>
        <source>Set &amp;Log Window Font</source>
        <translation>Choisir la police du &amp;journal</translation>
    </message>
    <message>
        <source>&amp;Reset Window Layout</source>
        <translation>&amp;Rétablir la disposition de la fenêtre</translation>
    </message>
    <message>
        <source>The window&apos;s size, splitters and columns as at the first start</source>
        <translation>Taille, séparateurs et colonnes de la fenêtre comme au premier démarrage</translation>
    </message>
    <message>
        <source>Lines kept per log &amp;page</source>
        <translation>Lignes gardées par &amp;page du journal</translation>
    </message>
    <message>
        <source>Lines kept per log page</source>
        <translation>Lignes gardées par page du journal</translation>
    </message>
</context>
<context>
    <name>TGeneralPage</name>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Upon Startup &amp;Launch Site Manager</source>
        <translation>Ouvrir le gestionnaire de sites au &amp;démarrage</translation>
    </message>
    <message>
        <source>Transferred files keep their &amp;modification time</source>
        <translation>Les fichiers transférés gardent leur date de &amp;modification</translation>
    </message>
    <message>
        <source>Send the next file&apos;s commands &amp;without waiting for replies</source>
        <translation>Envoyer les commandes du fichier suivant &amp;sans attendre les réponses</translation>
    </message>
    <message>
        <source>As&amp;k before deleting (and then delete folders with their contents)</source>
        <translation>Dem&amp;ander avant de supprimer (puis supprimer les dossiers avec leur contenu)</translation>
    </message>
    <message>
        <source>Keep passwords in the desktop&apos;s ke&amp;yring</source>
        <translation>Garder les mots de passe dans le &amp;trousseau du bureau</translation>
    </message>
    <message>
        <source>&amp;Email Address for Anonymous</source>
        <translation>Adresse &amp;e-mail pour l&apos;accès anonyme</translation>
    </message>
    <message>
        <source>Connection &amp;Retry Times</source>
        <translation>Nombre de &amp;tentatives de connexion</translation>
    </message>
    <message>
        <source>Seconds a reply may &amp;take (0: no limit)</source>
        <translation>Secondes que peut &amp;prendre une réponse (0 : sans limite)</translation>
    </message>
    <message>
        <source>Seconds a transfer may &amp;stall (0: no limit)</source>
        <translation>Secondes que peut durer un &amp;blocage de transfert (0 : sans limite)</translation>
    </message>
    <message>
        <source>Files the transfer &amp;history keeps (0: none)</source>
        <translation>Fichiers gardés dans l&apos;&amp;historique des transferts (0 : aucun)</translation>
    </message>
    <message>
        <source>Connection Retry Times</source>
        <translation>Nombre de tentatives de connexion</translation>
    </message>
    <message>
        <source>The seconds a reply may take</source>
        <translation>Les secondes que peut prendre une réponse</translation>
    </message>
    <message>
        <source>The seconds a transfer may stall</source>
        <translation>Les secondes que peut durer un blocage de transfert</translation>
    </message>
    <message>
        <source>The files the history keeps</source>
        <translation>Les fichiers gardés dans l&apos;historique</translation>
    </message>
</context>
<context>
    <name>TLocalPane</name>
    <message>
        <source>No such folder: %1</source>
        <translation>Aucun dossier de ce nom : %1</translation>
    </message>
    <message>
        <source>%1 bytes free</source>
        <translation>%1 octets libres</translation>
    </message>
    <message>
        <source>Make Directory</source>
        <translation>Créer un répertoire</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Nom : </translation>
    </message>
    <message>
        <source>Change Directory</source>
        <translation>Changer de répertoire</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>New Name: </source>
        <translation>Nouveau nom : </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Déplacer le fichier</translation>
    </message>
    <message>
        <source>Destination Directory: </source>
        <translation>Répertoire de destination : </translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Could not move to the trash:</source>
        <translation>Impossible de mettre à la corbeille :</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>The folders are being compared already.</source>
        <translation>Les dossiers sont déjà en cours de comparaison.</translation>
    </message>
    <message>
        <source>Compare and synchronize need a connected session with no transfers running.</source>
        <translation>Comparer et synchroniser demandent une session connectée sans transfert en cours.</translation>
    </message>
    <message>
        <source>Comparing %1 with %2...</source>
        <translation>Comparaison de %1 avec %2...</translation>
    </message>
    <message>
        <source>The comparison was stopped.</source>
        <translation>La comparaison a été arrêtée.</translation>
    </message>
    <message>
        <source>The folders could not be compared: %1</source>
        <translation>Les dossiers n&apos;ont pas pu être comparés : %1</translation>
    </message>
    <message>
        <source>The folders are alike (%1 files).</source>
        <translation>Les dossiers sont identiques (%1 fichiers).</translation>
    </message>
    <message>
        <source>%1 differences; %2 files alike.</source>
        <translation>%1 différences ; %2 fichiers identiques.</translation>
    </message>
    <message>
        <source>Synchronizing...</source>
        <translation>Synchronisation...</translation>
    </message>
    <message>
        <source>1 action done</source>
        <translation>1 action effectuée</translation>
    </message>
    <message>
        <source>%1 actions done</source>
        <translation>%1 actions effectuées</translation>
    </message>
    <message>
        <source>Synchronize: %1; not done:</source>
        <translation>Synchroniser : %1 ; non fait :</translation>
    </message>
    <message>
        <source>(the run)</source>
        <translation>(l&apos;exécution)</translation>
    </message>
    <message>
        <source>Synchronized: %1.</source>
        <translation>Synchronisé : %1.</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Serveur</translation>
    </message>
    <message>
        <source>&amp;FTP Server : </source>
        <translation>Serveur &amp;FTP : </translation>
    </message>
    <message>
        <source>FTP Server</source>
        <translation>Serveur FTP</translation>
    </message>
    <message>
        <source>Connect to Host</source>
        <translation>Se connecter à l&apos;hôte</translation>
    </message>
    <message>
        <source>Abort Current Command</source>
        <translation>Interrompre la commande en cours</translation>
    </message>
    <message>
        <source>Disconnect to Host</source>
        <translation>Se déconnecter de l&apos;hôte</translation>
    </message>
    <message>
        <source>Compare the Folders</source>
        <translation>Comparer les dossiers</translation>
    </message>
    <message>
        <source>Synchronize the Folders</source>
        <translation>Synchroniser les dossiers</translation>
    </message>
    <message>
        <source>&amp;User</source>
        <translation>&amp;Utilisateur</translation>
    </message>
    <message>
        <source>&amp;Pass</source>
        <translation>Mot de &amp;passe</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>P&amp;ort</translation>
    </message>
    <message>
        <source>More of the tool bar</source>
        <translation>Suite de la barre d&apos;outils</translation>
    </message>
    <message>
        <source>Transfer queue</source>
        <translation>File des transferts</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Connexions</translation>
    </message>
    <message>
        <source>Connection log</source>
        <translation>Journal de connexion</translation>
    </message>
    <message>
        <source>Log pages</source>
        <translation>Pages du journal</translation>
    </message>
    <message>
        <source>&amp;Transfers</source>
        <translation>&amp;Transferts</translation>
    </message>
    <message>
        <source>Co&amp;nnections</source>
        <translation>Co&amp;nnexions</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Progression du transfert</translation>
    </message>
    <message>
        <source>&amp;Server</source>
        <translation>&amp;Serveur</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>Se &amp;connecter</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>Se &amp;déconnecter</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>Se &amp;reconnecter</translation>
    </message>
    <message>
        <source>Transfer &amp;History...</source>
        <translation>&amp;Historique des transferts...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Site &amp;Manager</source>
        <translation>&amp;Gestionnaire de sites</translation>
    </message>
    <message>
        <source>&amp;Add Current Site</source>
        <translation>&amp;Ajouter le site actuel</translation>
    </message>
    <message>
        <source>&amp;New Session</source>
        <translation>&amp;Nouvelle session</translation>
    </message>
    <message>
        <source>&amp;Command</source>
        <translation>&amp;Commande</translation>
    </message>
    <message>
        <source>&amp;Local</source>
        <translation>&amp;Local</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Envoyer</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Voir</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>Dé&amp;placer</translation>
    </message>
    <message>
        <source>E&amp;xecute</source>
        <translation>E&amp;xécuter</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>&amp;Inverser la sélection</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation>Pr&amp;opriétés</translation>
    </message>
    <message>
        <source>&amp;Open Current Directory</source>
        <translation>Ouvrir le répertoire a&amp;ctuel</translation>
    </message>
    <message>
        <source>&amp;Remote</source>
        <translation>&amp;Distant</translation>
    </message>
    <message>
        <source>&amp;Download</source>
        <translation>&amp;Télécharger</translation>
    </message>
    <message>
        <source>Calc &amp;Size</source>
        <translation>Calculer la tai&amp;lle</translation>
    </message>
    <message>
        <source>&amp;Copy URL</source>
        <translation>&amp;Copier l&apos;URL</translation>
    </message>
    <message>
        <source>C&amp;hange Mode</source>
        <translation>C&amp;hanger le mode</translation>
    </message>
    <message>
        <source>V&amp;iew</source>
        <translation>&amp;Présentation</translation>
    </message>
    <message>
        <source>&amp;Large Icons</source>
        <translation>&amp;Grandes icônes</translation>
    </message>
    <message>
        <source>&amp;Small Icons</source>
        <translation>&amp;Petites icônes</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Détails</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Réorganiser les icônes</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Par &amp;nom</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Par &amp;taille</translation>
    </message>
    <message>
        <source>By &amp;DateTime</source>
        <translation>Par &amp;date/heure</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>&amp;Make Directory</source>
        <translation>&amp;Créer un répertoire</translation>
    </message>
    <message>
        <source>&amp;Change Directory</source>
        <translation>C&amp;hanger de répertoire</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>Actualis&amp;er</translation>
    </message>
    <message>
        <source>C&amp;ompare Folders</source>
        <translation>C&amp;omparer les dossiers</translation>
    </message>
    <message>
        <source>Only &amp;Differences</source>
        <translation>Seulement les &amp;différences</translation>
    </message>
    <message>
        <source>S&amp;ynchronize...</source>
        <translation>S&amp;ynchroniser...</translation>
    </message>
    <message>
        <source>S&amp;etting</source>
        <translation>&amp;Réglages</translation>
    </message>
    <message>
        <source>&amp;Increase Thread Number</source>
        <translation>&amp;Augmenter le nombre de threads</translation>
    </message>
    <message>
        <source>&amp;Decrease Thread Number</source>
        <translation>&amp;Diminuer le nombre de threads</translation>
    </message>
    <message>
        <source>&amp;Preference...</source>
        <translation>&amp;Préférences...</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À pro&amp;pos</translation>
    </message>
    <message>
        <source>QuillFTP &amp;Help</source>
        <translation>&amp;Aide de QuillFTP</translation>
    </message>
    <message>
        <source>QuillFTP &amp;FAQ</source>
        <translation>&amp;FAQ de QuillFTP</translation>
    </message>
    <message>
        <source>&amp;EMail to Author</source>
        <translation>&amp;E-mail à l&apos;auteur</translation>
    </message>
    <message>
        <source>QuillSoft Home&amp;Page</source>
        <translation>Site &amp;web de QuillSoft</translation>
    </message>
    <message>
        <source>Check New &amp;Version</source>
        <translation>Rechercher une nouvelle &amp;version</translation>
    </message>
    <message>
        <source>A&amp;bout ...</source>
        <translation>À pro&amp;pos...</translation>
    </message>
    <message>
        <source>Calculate Size</source>
        <translation>Calculer la taille</translation>
    </message>
    <message>
        <source>Copy Select</source>
        <translation>Copier la sélection</translation>
    </message>
    <message>
        <source>Copy All</source>
        <translation>Tout copier</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Tout effacer</translation>
    </message>
    <message>
        <source>Resume Broken List</source>
        <translation>Reprendre la liste interrompue</translation>
    </message>
    <message>
        <source>Delete Broken List</source>
        <translation>Supprimer la liste interrompue</translation>
    </message>
    <message>
        <source>No web browser could be opened. The page is %1 (open it in any browser).</source>
        <translation>Aucun navigateur web n&apos;a pu être ouvert. La page est %1 (ouvrez-la dans n&apos;importe quel navigateur).</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <comment>menu bar</comment>
        <translation>&amp;Affichage</translation>
    </message>
</context>
<context>
    <name>TMultipleThreadPage</name>
    <message>
        <source>Multiple Thread Setting</source>
        <translation>Plusieurs threads</translation>
    </message>
    <message>
        <source>&amp;Use main thread to transfer file</source>
        <translation>&amp;Utiliser le thread principal pour transférer</translation>
    </message>
    <message>
        <source>&amp;Thread number = </source>
        <translation>Nombre de &amp;threads = </translation>
    </message>
    <message>
        <source>&amp;Split download file size = </source>
        <translation>Taille de &amp;découpage des téléchargements = </translation>
    </message>
    <message>
        <source>&amp;Download speed limit = </source>
        <translation>Limite de débit en &amp;téléchargement = </translation>
    </message>
    <message>
        <source>Upload speed li&amp;mit = </source>
        <translation>Limite de débit en &amp;envoi = </translation>
    </message>
    <message>
        <source>KiB/s, for all connections together (0: none)</source>
        <translation>Kio/s, pour toutes les connexions ensemble (0 : aucune)</translation>
    </message>
    <message>
        <source>Thread number</source>
        <translation>Nombre de threads</translation>
    </message>
    <message>
        <source>Split download file size</source>
        <translation>Taille de découpage des téléchargements</translation>
    </message>
    <message>
        <source>Download speed limit</source>
        <translation>Limite de débit en téléchargement</translation>
    </message>
    <message>
        <source>Upload speed limit</source>
        <translation>Limite de débit en envoi</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>octets</translation>
    </message>
</context>
<context>
    <name>TPaneModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Date</translation>
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
        <translation>%1 dossier(s) %2 fichier(s) %3 octet(s) listés</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; and everything in it</source>
        <translation>le dossier « %1 » et tout son contenu</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot;</source>
        <translation>le dossier « %1 »</translation>
    </message>
    <message>
        <source>the link &quot;%1&quot;</source>
        <translation>le lien « %1 »</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot;</source>
        <translation>le fichier « %1 »</translation>
    </message>
    <message>
        <source>%1 file</source>
        <translation>%1 fichier</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 fichiers</translation>
    </message>
    <message>
        <source>%1 folder</source>
        <translation>%1 dossier</translation>
    </message>
    <message>
        <source>%1 folders</source>
        <translation>%1 dossiers</translation>
    </message>
    <message>
        <source> with everything in it</source>
        <translation> avec tout son contenu</translation>
    </message>
    <message>
        <source> with everything in them</source>
        <translation> avec tout leur contenu</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>Delete %1 from the server?</source>
        <translation>Supprimer %1 du serveur ?</translation>
    </message>
    <message>
        <source>Move %1 to the trash?</source>
        <translation>Mettre %1 à la corbeille ?</translation>
    </message>
</context>
<context>
    <name>TPaneWidget</name>
    <message>
        <source>Remote directory</source>
        <translation>Répertoire distant</translation>
    </message>
    <message>
        <source>Local directory</source>
        <translation>Répertoire local</translation>
    </message>
    <message>
        <source>Remote files</source>
        <translation>Fichiers distants</translation>
    </message>
    <message>
        <source>Local files</source>
        <translation>Fichiers locaux</translation>
    </message>
    <message>
        <source>Icons</source>
        <translation>Icônes</translation>
    </message>
</context>
<context>
    <name>TPreferencePage</name>
    <message>
        <source>%1 must be a whole number of at least %2.</source>
        <translation>%1 doit être un nombre entier d&apos;au moins %2.</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3.</source>
        <translation>%1 doit être un nombre entier de %2 à %3.</translation>
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
        <translation>Activer le &amp;proxy</translation>
    </message>
    <message>
        <source>An FTP proxy carries FTP only: SFTP goes directly or through SOCKS.</source>
        <translation>Un proxy FTP ne porte que le FTP : le SFTP passe en direct ou par SOCKS.</translation>
    </message>
    <message>
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message>
        <source>Enable &amp;SOCKS</source>
        <translation>Activer &amp;SOCKS</translation>
    </message>
    <message>
        <source>Use PASV &amp;mode</source>
        <translation>Utiliser le &amp;mode PASV</translation>
    </message>
    <message>
        <source>&amp;Security of new connections:</source>
        <translation>&amp;Sécurité des nouvelles connexions :</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Hôte</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Utilisateur</translation>
    </message>
    <message>
        <source>Pass</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>The %1 port</source>
        <translation>Le port du %1</translation>
    </message>
    <message>
        <source>proxy</source>
        <translation>proxy</translation>
    </message>
</context>
<context>
    <name>TQueueTree</name>
    <message>
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Envoi</translation>
    </message>
    <message>
        <source>download</source>
        <translation>téléchargement</translation>
    </message>
    <message>
        <source>upload</source>
        <translation>envoi</translation>
    </message>
    <message>
        <source>hostinfo</source>
        <translation>infos de l&apos;hôte</translation>
    </message>
    <message>
        <source> - Current</source>
        <translation> - Actuelle</translation>
    </message>
    <message>
        <source> - Broken</source>
        <translation> - Interrompue</translation>
    </message>
</context>
<context>
    <name>TQuickConnectPage</name>
    <message>
        <source>Quick Connection</source>
        <translation>Connexion rapide</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Effacer</translation>
    </message>
    <message>
        <source>Quick connections</source>
        <translation>Connexions rapides</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Êtes-vous sûr ?</translation>
    </message>
</context>
<context>
    <name>TSiteBook</name>
    <message>
        <source>: the site book&apos;s passwords kept there are not at hand.</source>
        <translation> : les mots de passe du carnet d&apos;adresses qui y sont gardés ne sont pas accessibles.</translation>
    </message>
    <message>
        <source>: the passwords stay in the site book&apos;s file.</source>
        <translation> : les mots de passe restent dans le fichier du carnet d&apos;adresses.</translation>
    </message>
    <message>
        <source>Old = </source>
        <translation>Ancien = </translation>
    </message>
    <message>
        <source>The site book is full: it holds at most 50 classes. &quot;%1&quot; was not added.</source>
        <translation>Le carnet d&apos;adresses est plein : il contient au plus 50 classes. « %1 » n&apos;a pas été ajouté.</translation>
    </message>
    <message>
        <source>Class name</source>
        <translation>Nom de classe</translation>
    </message>
    <message>
        <source>Duplicate Class Name</source>
        <translation>Nom de classe en double</translation>
    </message>
    <message>
        <source>The site book is full: it holds at most 500 sites. &quot;%1&quot; was not added.</source>
        <translation>Le carnet d&apos;adresses est plein : il contient au plus 500 sites. « %1 » n&apos;a pas été ajouté.</translation>
    </message>
    <message>
        <source>Site name</source>
        <translation>Nom du site</translation>
    </message>
    <message>
        <source>: host</source>
        <translation> : hôte</translation>
    </message>
    <message>
        <source>: port</source>
        <translation> : port</translation>
    </message>
    <message>
        <source>: user</source>
        <translation> : utilisateur</translation>
    </message>
    <message>
        <source>: password</source>
        <translation> : mot de passe</translation>
    </message>
    <message>
        <source>: description</source>
        <translation> : description</translation>
    </message>
    <message>
        <source>Duplicate Site Name</source>
        <translation>Nom de site en double</translation>
    </message>
    <message>
        <source>%1 cut to %2 characters</source>
        <translation>%1 coupé à %2 caractères</translation>
    </message>
    <message>
        <source>Some texts were too long for the site book and were cut:</source>
        <translation>Certains textes étaient trop longs pour le carnet d&apos;adresses et ont été coupés :</translation>
    </message>
    <message>
        <source>(and %1 more)</source>
        <translation>(et %1 de plus)</translation>
    </message>
</context>
<context>
    <name>TSpeedLimitButton</name>
    <message>
        <source>Speed limit</source>
        <translation>Limite de débit</translation>
    </message>
    <message>
        <source>Speed limits for all connections together; they apply at once, also to a running transfer</source>
        <translation>Limites de débit pour toutes les connexions ensemble ; elles s&apos;appliquent aussitôt, même à un transfert en cours</translation>
    </message>
    <message>
        <source>&amp;Download limit</source>
        <translation>Limite de &amp;téléchargement</translation>
    </message>
    <message>
        <source>&amp;Upload limit</source>
        <translation>Limite d&apos;&amp;envoi</translation>
    </message>
    <message>
        <source>&amp;No limit</source>
        <translation>&amp;Aucune limite</translation>
    </message>
    <message>
        <source>&amp;Other...</source>
        <translation>A&amp;utre...</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>%1 MiB/s</source>
        <translation>%1 Mio/s</translation>
    </message>
    <message>
        <source>%1 KiB/s</source>
        <translation>%1 Kio/s</translation>
    </message>
    <message>
        <source>No speed limit</source>
        <translation>Aucune limite de débit</translation>
    </message>
    <message>
        <source>Limit ↓ %1  ↑ %2</source>
        <translation>Limite ↓ %1  ↑ %2</translation>
    </message>
    <message>
        <source>Download limit</source>
        <translation>Limite de téléchargement</translation>
    </message>
    <message>
        <source>Upload limit</source>
        <translation>Limite d&apos;envoi</translation>
    </message>
    <message>
        <source>KiB/s for all connections together (0: none):</source>
        <translation>Kio/s pour toutes les connexions ensemble (0 : aucune) :</translation>
    </message>
</context>
<context>
    <name>TStatusModel</name>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connecté</translation>
    </message>
    <message>
        <source>ChangingDir</source>
        <translation>Changement de répertoire</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Préparation</translation>
    </message>
    <message>
        <source>Transfering</source>
        <translation>Transfert</translation>
    </message>
    <message>
        <source>disconnected</source>
        <translation>déconnecté</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Nom de fichier</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Nombre</translation>
    </message>
</context>
<context>
    <name>TSyncDialog</name>
    <message>
        <source>Upload</source>
        <translation>Envoi</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Make remote directory</source>
        <translation>Créer le répertoire distant</translation>
    </message>
    <message>
        <source>Make local directory</source>
        <translation>Créer le répertoire local</translation>
    </message>
    <message>
        <source>Delete remote</source>
        <translation>Supprimer à distance</translation>
    </message>
    <message>
        <source>Delete local</source>
        <translation>Supprimer en local</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Sauter</translation>
    </message>
    <message>
        <source>Conflict</source>
        <translation>Conflit</translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation>Synchroniser</translation>
    </message>
    <message>
        <source>Local: %1
Remote: %2</source>
        <translation>Local : %1
Distant : %2</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Sens</translation>
    </message>
    <message>
        <source>&amp;Upload: make the remote folder like the local one</source>
        <translation>&amp;Envoi : rendre le dossier distant semblable au dossier local</translation>
    </message>
    <message>
        <source>&amp;Download: make the local folder like the remote one</source>
        <translation>&amp;Téléchargement : rendre le dossier local semblable au dossier distant</translation>
    </message>
    <message>
        <source>&amp;Both ways: each side takes what changed on the other</source>
        <translation>&amp;Les deux sens : chaque côté prend ce qui a changé de l&apos;autre</translation>
    </message>
    <message>
        <source>D&amp;elete what is gone on the leading side</source>
        <translation>Supprimer ce qui a disparu du côté &amp;meneur</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Raison</translation>
    </message>
    <message>
        <source>&amp;Synchronize</source>
        <translation>&amp;Synchroniser</translation>
    </message>
    <message>
        <source>Save &amp;Plan...</source>
        <translation>Enregistrer le &amp;plan...</translation>
    </message>
    <message>
        <source>Save Plan</source>
        <translation>Enregistrer le plan</translation>
    </message>
    <message>
        <source>Synchronization plans (*.json)</source>
        <translation>Plans de synchronisation (*.json)</translation>
    </message>
    <message>
        <source>The plan could not be written to %1.</source>
        <translation>Le plan n&apos;a pas pu être écrit dans %1.</translation>
    </message>
</context>
<context>
    <name>TSyncWork</name>
    <message>
        <source>alike on both sides</source>
        <translation>identique des deux côtés</translation>
    </message>
    <message>
        <source>only in the local folder</source>
        <translation>seulement dans le dossier local</translation>
    </message>
    <message>
        <source>only in the remote folder</source>
        <translation>seulement dans le dossier distant</translation>
    </message>
    <message>
        <source>newer here (local)</source>
        <translation>plus récent ici (local)</translation>
    </message>
    <message>
        <source>newer there (remote)</source>
        <translation>plus récent là-bas (distant)</translation>
    </message>
    <message>
        <source>size differs</source>
        <translation>taille différente</translation>
    </message>
    <message>
        <source>kind differs</source>
        <translation>nature différente</translation>
    </message>
    <message>
        <source>cannot be told</source>
        <translation>impossible à dire</translation>
    </message>
    <message>
        <source>Compared: </source>
        <translation>Comparé : </translation>
    </message>
    <message>
        <source>the plan is for %1, not %2</source>
        <translation>le plan est pour %1, pas pour %2</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> et %1 de plus</translation>
    </message>
    <message>
        <source>the plan is refused: 1 path changed since it was made: %2</source>
        <translation>le plan est refusé : 1 chemin a changé depuis sa création : %2</translation>
    </message>
    <message>
        <source>the plan is refused: %1 paths changed since it was made: %2</source>
        <translation>le plan est refusé : %1 chemins ont changé depuis sa création : %2</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>non connecté</translation>
    </message>
    <message>
        <source>no connection could list the remote folder: </source>
        <translation>aucune connexion n&apos;a pu lister le dossier distant : </translation>
    </message>
    <message>
        <source>the remote folder could not be listed: </source>
        <translation>le dossier distant n&apos;a pas pu être listé : </translation>
    </message>
    <message>
        <source>not connected, or a run is going on</source>
        <translation>non connecté, ou une exécution est en cours</translation>
    </message>
    <message>
        <source>cannot create the local directory</source>
        <translation>impossible de créer le répertoire local</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>son chemin local est en dehors de %1</translation>
    </message>
    <message>
        <source>not transferred</source>
        <translation>non transféré</translation>
    </message>
    <message>
        <source>the run did not complete: no deletions</source>
        <translation>l&apos;exécution n&apos;est pas allée au bout : aucune suppression</translation>
    </message>
    <message>
        <source>differs inside: </source>
        <translation>diffère à l&apos;intérieur : </translation>
    </message>
</context>
<context>
    <name>TTransferRows</name>
    <message>
        <source>Waiting</source>
        <translation>En attente</translation>
    </message>
    <message>
        <source>Queued</source>
        <translation>En file</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>En transfert</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Échec : %1</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Sauté</translation>
    </message>
    <message>
        <source>%1 bytes checked</source>
        <translation>%1 octets vérifiés</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>%1 concorde</translation>
    </message>
    <message>
        <source>%1 differs</source>
        <translation>%1 diffère</translation>
    </message>
    <message>
        <source>; time kept</source>
        <translation> ; date conservée</translation>
    </message>
    <message>
        <source>Not finished; kept in the broken list</source>
        <translation>Non terminé ; gardé dans la liste interrompue</translation>
    </message>
</context>
<context>
    <name>TTransfersModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Débit</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Reste</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Conn.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
</context>
<context>
    <name>TTransfersPanel</name>
    <message>
        <source>All</source>
        <translation>Tous</translation>
    </message>
    <message>
        <source>Queued</source>
        <translation>En file</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Transfers shown</source>
        <translation>Transferts affichés</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>Transferts</translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation>&amp;Réessayer</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Sauter</translation>
    </message>
    <message>
        <source>&amp;Open Containing Folder</source>
        <translation>&amp;Ouvrir le dossier parent</translation>
    </message>
    <message>
        <source>&amp;Copy Remote Address</source>
        <translation>&amp;Copier l&apos;adresse distante</translation>
    </message>
</context>
<context>
    <name>TfmAbout</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
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
        <translation>Ajouter le site actuel</translation>
    </message>
    <message>
        <source>&amp;Class : </source>
        <translation>&amp;Classe : </translation>
    </message>
    <message>
        <source>&amp;Name :</source>
        <translation>&amp;Nom :</translation>
    </message>
    <message>
        <source>The site book has no class yet: add one in the Site Manager first.</source>
        <translation>Le carnet d&apos;adresses n&apos;a pas encore de classe : ajoutez-en une d&apos;abord dans le gestionnaire de sites.</translation>
    </message>
</context>
<context>
    <name>TfmConnBook</name>
    <message>
        <source>This name already exists !<byte value="xd"/>please change another .</source>
        <translation>Ce nom existe déjà !<byte value="xd"/>veuillez en choisir un autre .</translation>
    </message>
    <message>
        <source>Site Manager</source>
        <translation>Gestionnaire de sites</translation>
    </message>
    <message>
        <source>Sites</source>
        <translation>Sites</translation>
    </message>
    <message>
        <source>New Class...</source>
        <translation>Nouvelle classe...</translation>
    </message>
    <message>
        <source>New Site...</source>
        <translation>Nouveau site...</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
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
        <translation>Utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom :</translation>
    </message>
    <message>
        <source>A&amp;ddr:</source>
        <translation>A&amp;dresse :</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort :</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Utilisateur :</translation>
    </message>
    <message>
        <source>Pa&amp;ss:</source>
        <translation>Mot de pa&amp;sse :</translation>
    </message>
    <message>
        <source>D&amp;escription:</source>
        <translation>D&amp;escription :</translation>
    </message>
    <message>
        <source>New &amp;Class</source>
        <translation>Nouvelle &amp;classe</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>Supprim&amp;er</translation>
    </message>
    <message>
        <source>New S&amp;ite</source>
        <translation>Nouveau s&amp;ite</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>&amp;Backup</source>
        <translation>&amp;Sauvegarder</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurer</translation>
    </message>
    <message>
        <source>I&amp;mport</source>
        <translation>I&amp;mporter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>New Class</source>
        <translation>Nouvelle classe</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Nom : </translation>
    </message>
    <message>
        <source>Duplicate Class Name!</source>
        <translation>Nom de classe en double !</translation>
    </message>
    <message>
        <source>Please Select a Class!</source>
        <translation>Veuillez choisir une classe !</translation>
    </message>
    <message>
        <source>Add New Site</source>
        <translation>Ajouter un nouveau site</translation>
    </message>
    <message>
        <source>Site Name: </source>
        <translation>Nom du site : </translation>
    </message>
    <message>
        <source>Please Finish the information of this site and press Apply Button</source>
        <translation>Veuillez compléter les informations de ce site et appuyer sur Appliquer</translation>
    </message>
    <message>
        <source>The site book could not be written: </source>
        <translation>Le carnet d&apos;adresses n&apos;a pas pu être écrit : </translation>
    </message>
    <message>
        <source>Confirm to delete?</source>
        <translation>Confirmer la suppression ?</translation>
    </message>
    <message>
        <source>Rename: </source>
        <translation>Renommer : </translation>
    </message>
    <message>
        <source>NewName = </source>
        <translation>Nouveau nom = </translation>
    </message>
    <message>
        <source>LeapFtp (SITES.INI) (*.ini)</source>
        <translation>LeapFtp (SITES.INI) (*.ini)</translation>
    </message>
    <message>
        <source>CuteFtp Exported List (*.TXT) (*.txt)</source>
        <translation>Liste exportée de CuteFtp (*.TXT) (*.txt)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sauvegarder</translation>
    </message>
    <message>
        <source>Are you sure ?</source>
        <translation>Êtes-vous sûr ?</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
</context>
<context>
    <name>TfmFileExists</name>
    <message>
        <source>This local file exists!</source>
        <translation>Ce fichier local existe !</translation>
    </message>
    <message>
        <source>&amp;OverWrite</source>
        <translation>É&amp;craser</translation>
    </message>
    <message>
        <source>OverWrite &amp;All</source>
        <translation>Écraser &amp;tout</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Sauter</translation>
    </message>
    <message>
        <source>Skip A&amp;ll</source>
        <translation>Sauter tou&amp;t</translation>
    </message>
    <message>
        <source>FileExists</source>
        <translation>Le fichier existe</translation>
    </message>
</context>
<context>
    <name>TfmHistory</name>
    <message>
        <source>Only the files that &amp;failed</source>
        <translation>Seulement les fichiers en é&amp;chec</translation>
    </message>
    <message>
        <source>Transfer History</source>
        <translation>Historique des transferts</translation>
    </message>
    <message>
        <source>Started (UTC)</source>
        <translation>Début (UTC)</translation>
    </message>
    <message>
        <source>Remote</source>
        <translation>Distant</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>&amp;Exporter en CSV...</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Exporter en CSV</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
</context>
<context>
    <name>TfmMain</name>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>1 file is still being transferred; what is left can be resumed from the broken list. Quit anyway?</source>
        <translation>1 fichier est encore en transfert ; le reste pourra être repris depuis la liste interrompue. Quitter quand même ?</translation>
    </message>
    <message>
        <source>%1 files are still being transferred; what is left can be resumed from the broken list. Quit anyway?</source>
        <translation>%1 fichiers sont encore en transfert ; le reste pourra être repris depuis la liste interrompue. Quitter quand même ?</translation>
    </message>
    <message>
        <source>Still connected to host, Quit anyway?</source>
        <translation>Toujours connecté à l&apos;hôte, quitter quand même ?</translation>
    </message>
    <message>
        <source>: the broken lists&apos; passwords stay in their file.</source>
        <translation> : les mots de passe des listes interrompues restent dans leur fichier.</translation>
    </message>
    <message>
        <source>: the host history&apos;s passwords stay in quillftp.ini.</source>
        <translation> : les mots de passe de l&apos;historique des hôtes restent dans quillftp.ini.</translation>
    </message>
    <message>
        <source>: the broken lists&apos; passwords kept there are not at hand.</source>
        <translation> : les mots de passe des listes interrompues qui y sont gardés ne sont pas accessibles.</translation>
    </message>
    <message>
        <source>Using %1 connections, not %2: the limit of open files allows no more</source>
        <translation>%1 connexions utilisées, pas %2 : la limite de fichiers ouverts n&apos;en permet pas plus</translation>
    </message>
    <message>
        <source> - Not connected</source>
        <translation> - Non connecté</translation>
    </message>
    <message>
        <source> (protected by %1)</source>
        <translation> (protégé par %1)</translation>
    </message>
    <message>
        <source> (TLS for commands only)</source>
        <translation> (TLS pour les commandes seulement)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connecté</translation>
    </message>
    <message>
        <source>Changing dir</source>
        <translation>Changement de répertoire</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Préparation</translation>
    </message>
    <message>
        <source>Transfering</source>
        <translation>Transfert</translation>
    </message>
    <message>
        <source>Please enter the host name to connect</source>
        <translation>Veuillez saisir le nom d&apos;hôte pour vous connecter</translation>
    </message>
    <message>
        <source>Please enter the port to connect</source>
        <translation>Veuillez saisir le port pour vous connecter</translation>
    </message>
    <message>
        <source>Please enter the password of %1 to connect</source>
        <translation>Veuillez saisir le mot de passe de %1 pour vous connecter</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmer</translation>
    </message>
    <message>
        <source>Break current connection ?</source>
        <translation>Interrompre la connexion actuelle ?</translation>
    </message>
    <message>
        <source>Sorry, Can&apos;t connect to different host while transfering file background</source>
        <translation>Désolé, impossible de se connecter à un autre hôte pendant un transfert de fichiers en arrière-plan</translation>
    </message>
    <message>
        <source>User Aborted</source>
        <translation>Interrompu par l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Can&apos;t set Main-Connection idle when only 1 connection</source>
        <translation>Impossible de laisser la connexion principale inactive avec une seule connexion</translation>
    </message>
    <message>
        <source>USE MAIN CONNECTION TRANSFER means use all FTP connection to transfer files</source>
        <translation>LA CONNEXION PRINCIPALE TRANSFÈRE : toutes les connexions FTP transfèrent des fichiers</translation>
    </message>
    <message>
        <source>NOT USE MAIN CONNECTION TRANSFER means remain main FTP connection to do other things, such as CHANGING DIR, DRAG MORE FILES TO TRANSFER, etc.</source>
        <translation>LA CONNEXION PRINCIPALE NE TRANSFÈRE PAS : la connexion FTP principale reste libre pour d&apos;autres choses, comme CHANGER DE RÉPERTOIRE, GLISSER D&apos;AUTRES FICHIERS À TRANSFÉRER, etc.</translation>
    </message>
    <message>
        <source>NOT Use Main Connection to Transfer</source>
        <translation>NE PAS utiliser la connexion principale pour transférer</translation>
    </message>
    <message>
        <source>Use Main Connection to Transfer</source>
        <translation>Utiliser la connexion principale pour transférer</translation>
    </message>
    <message>
        <source>Could not make:</source>
        <translation>Impossible de créer :</translation>
    </message>
    <message>
        <source>Could not delete:</source>
        <translation>Impossible de supprimer :</translation>
    </message>
    <message>
        <source>Could not change the mode of:</source>
        <translation>Impossible de changer le mode de :</translation>
    </message>
    <message>
        <source>Could not rename or move:</source>
        <translation>Impossible de renommer ou déplacer :</translation>
    </message>
    <message>
        <source>... and %1 more (see the log)</source>
        <translation>... et %1 de plus (voir le journal)</translation>
    </message>
    <message>
        <source>Make Directory</source>
        <translation>Créer un répertoire</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Nom : </translation>
    </message>
    <message>
        <source>Change Directory</source>
        <translation>Changer de répertoire</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>New Name: </source>
        <translation>Nouveau nom : </translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Déplacer le fichier</translation>
    </message>
    <message>
        <source>Destination Directory: </source>
        <translation>Répertoire de destination : </translation>
    </message>
    <message>
        <source>Change Mode</source>
        <translation>Changer le mode</translation>
    </message>
    <message>
        <source>New Mode: </source>
        <translation>Nouveau mode : </translation>
    </message>
    <message>
        <source>its size, %1 bytes, is more than any file has</source>
        <translation>sa taille, %1 octets, dépasse celle de tout fichier</translation>
    </message>
    <message>
        <source>! Not queued: %1</source>
        <translation>! Non mis en file : %1</translation>
    </message>
    <message>
        <source>no local name for it</source>
        <translation>pas de nom local pour lui</translation>
    </message>
    <message>
        <source>Total FileSize = %1 bytes</source>
        <translation>Taille totale = %1 octets</translation>
    </message>
    <message>
        <source>! Not queued: %1 lies outside %2</source>
        <translation>! Non mis en file : %1 est en dehors de %2</translation>
    </message>
    <message>
        <source>its local path lies outside %1</source>
        <translation>son chemin local est en dehors de %1</translation>
    </message>
    <message>
        <source>! Not uploaded: %1 is not a regular file</source>
        <translation>! Non envoyé : %1 n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not uploaded: %1 is not a regular file</source>
        <translation>Non envoyé : %1 n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>1 item did not complete; kept in the broken list %2 to resume</source>
        <translation>1 élément n&apos;est pas allé au bout ; gardé dans la liste interrompue %2 pour être repris</translation>
    </message>
    <message>
        <source>%1 items did not complete; kept in the broken list %2 to resume</source>
        <translation>%1 éléments ne sont pas allés au bout ; gardés dans la liste interrompue %2 pour être repris</translation>
    </message>
    <message>
        <source>%1 bytes in %2</source>
        <translation>%1 octets en %2</translation>
    </message>
    <message>
        <source>1 item did not complete</source>
        <translation>1 élément n&apos;est pas allé au bout</translation>
    </message>
    <message>
        <source>%1 items did not complete</source>
        <translation>%1 éléments ne sont pas allés au bout</translation>
    </message>
    <message>
        <source>QuillFTP: transfers ended, some did not complete</source>
        <translation>QuillFTP : transferts terminés, certains incomplets</translation>
    </message>
    <message>
        <source>QuillFTP: transfers done</source>
        <translation>QuillFTP : transferts terminés</translation>
    </message>
    <message>
        <source>Elapsed: </source>
        <translation>Écoulé : </translation>
    </message>
    <message>
        <source>Remain: </source>
        <translation>Restant : </translation>
    </message>
    <message>
        <source>! Resuming the half-written %1</source>
        <translation>! Reprise du fichier à moitié écrit %1</translation>
    </message>
    <message>
        <source>Please select a broken list !</source>
        <translation>Veuillez choisir une liste interrompue !</translation>
    </message>
    <message>
        <source>! Not resumed: %1</source>
        <translation>! Non repris : %1</translation>
    </message>
    <message>
        <source>1 item of the broken list will not be resumed: %2</source>
        <translation>1 élément de la liste interrompue ne sera pas repris : %2</translation>
    </message>
    <message>
        <source>%1 items of the broken list will not be resumed: %2</source>
        <translation>%1 éléments de la liste interrompue ne seront pas repris : %2</translation>
    </message>
</context>
<context>
    <name>TfmPreference</name>
    <message>
        <source>Connection</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Anti Idle</source>
        <translation>Anti-inactivité</translation>
    </message>
    <message>
        <source>Proxy &amp;&amp; Socks</source>
        <translation>Proxy &amp;&amp; SOCKS</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Transfert</translation>
    </message>
    <message>
        <source>Multiple Thread</source>
        <translation>Plusieurs threads</translation>
    </message>
    <message>
        <source>ASC II Extension</source>
        <translation>Extensions ASCII</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apparence</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Polices</translation>
    </message>
    <message>
        <source>Quick Connection</source>
        <translation>Connexion rapide</translation>
    </message>
    <message>
        <source>Preference</source>
        <translation>Préférences</translation>
    </message>
</context>
<context>
    <name>TfmProperties</name>
    <message>
        <source>%1 Properties</source>
        <translation>Propriétés de %1</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Emplacement :</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Type :</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>Permissions:</source>
        <translation>Permissions :</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Propriétaire :</translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation>Modifié :</translation>
    </message>
    <message>
        <source>Accessed:</source>
        <translation>Dernier accès :</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>File System</source>
        <translation>Système de fichiers</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Dossier personnel</translation>
    </message>
    <message>
        <source>it is no longer there</source>
        <translation>il n&apos;existe plus</translation>
    </message>
</context>
</TS>
