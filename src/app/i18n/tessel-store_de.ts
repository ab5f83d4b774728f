<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutPanel</name>
    <message>
        <source>Tessel Store</source>
        <translation>Tessel Store</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>AccountView</name>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Automatic follows the system.</source>
        <translation>Automatisch folgt dem System.</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Beim Anmelden öffnen</translation>
    </message>
    <message>
        <source>The Store starts with your session and waits in the tray.</source>
        <translation>Der Store startet mit Ihrer Sitzung und wartet im Infobereich.</translation>
    </message>
    <message>
        <source>The Store checks for a new version of itself once a day.</source>
        <translation>Der Store sucht einmal am Tag nach einer neuen Version von sich selbst.</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Jetzt suchen</translation>
    </message>
    <message>
        <source>Check for updates automatically</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
</context>
<context>
    <name>AppDetailView</name>
    <message>
        <source>Website</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>Link kopieren</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>Im Browser öffnen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über die App</translation>
    </message>
</context>
<context>
    <name>AppItem</name>
    <message>
        <source>Not installed</source>
        <comment>fact.notInstalled</comment>
        <translation>Nicht installiert</translation>
    </message>
</context>
<context>
    <name>AppState</name>
    <message>
        <source>Try Again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Installing…</source>
        <translation>Wird installiert…</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
</context>
<context>
    <name>Badge</name>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Installed</source>
        <comment>badge.installed</comment>
        <translation>Installiert</translation>
    </message>
</context>
<context>
    <name>CommandMenu</name>
    <message>
        <source>About Tessel Store</source>
        <translation>Über Tessel Store</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Nach Updates suchen…</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>Nach App-Updates suchen</translation>
    </message>
</context>
<context>
    <name>ExploreView</name>
    <message>
        <source>Every Orvel app.</source>
        <translation>Alle Apps von Orvel.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>All apps</source>
        <translation>Alle Apps</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>Installiert</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Nicht installiert</translation>
    </message>
    <message>
        <source>No apps match.</source>
        <translation>Keine passenden Apps.</translation>
    </message>
</context>
<context>
    <name>Facts</name>
    <message>
        <source>Latest version</source>
        <translation>Neueste Version</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>Auf diesem Computer</translation>
    </message>
    <message>
        <source>Requires</source>
        <translation>Erfordert</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Entwickler</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>LoadingOrFailed</name>
    <message>
        <source>The Store could not load the apps.</source>
        <translation>Der Store konnte die Apps nicht laden.</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Erneut versuchen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Tessel Store</source>
        <translation>Tessel Store</translation>
    </message>
</context>
<context>
    <name>MyAppsView</name>
    <message>
        <source>My Apps</source>
        <translation>Meine Apps</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>Auf diesem Computer</translation>
    </message>
    <message>
        <source>None of Orvel&apos;s apps is installed here yet.</source>
        <translation>Hier ist noch keine App von Orvel installiert.</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Nicht installiert</translation>
    </message>
</context>
<context>
    <name>ProgressRing</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <extracomment>&quot;RTL&quot; in languages written right to left (such as Arabic), &quot;LTR&quot; in all others.</extracomment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>ScreenshotStrip</name>
    <message>
        <source>Screenshot %1 of %2</source>
        <translation>Bildschirmfoto %1 von %2</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>Vergrößern</translation>
    </message>
</context>
<context>
    <name>ScreenshotViewer</name>
    <message>
        <source>Previous</source>
        <translation>Vorheriges</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächstes</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ScreenshotViewerState</name>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Tessel Store</source>
        <translation>Tessel Store</translation>
    </message>
</context>
<context>
    <name>SidebarRow</name>
    <message>
        <source>%1, one update</source>
        <translation>%1, ein Update</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n updates</source>
        <translation>
            <numerusform>%1, %n Update</numerusform>
            <numerusform>%1, %n Updates</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusBarController</name>
    <message>
        <source>Open Tessel Store</source>
        <translation>Tessel Store öffnen</translation>
    </message>
    <message>
        <source>Update All (%1)</source>
        <translation>Alle aktualisieren (%1)</translation>
    </message>
    <message>
        <source>Everything is up to date.</source>
        <translation>Alles ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>Nach App-Updates suchen</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Nach Updates suchen…</translation>
    </message>
    <message>
        <source>Quit Tessel Store</source>
        <translation>Tessel Store beenden</translation>
    </message>
</context>
<context>
    <name>StoreModel</name>
    <message>
        <source>Could not reach the update feed.</source>
        <translation>Der Update-Feed ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>The update was installed, but this Mac still opens an older copy. Remove the older copy and try again.</source>
        <translation>Das Update wurde installiert, aber dieser Mac öffnet noch eine ältere Kopie. Entfernen Sie die ältere Kopie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>This download did not pass the security check, so it was not installed.</source>
        <translation>Dieser Download hat die Sicherheitsprüfung nicht bestanden und wurde daher nicht installiert.</translation>
    </message>
    <message>
        <source>The download could not be opened.</source>
        <translation>Der Download konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The app could not be replaced. Quit it and try again, or update it from the app itself.</source>
        <translation>Die App konnte nicht ersetzt werden. Beenden Sie sie und versuchen Sie es erneut, oder aktualisieren Sie sie in der App selbst.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again.</source>
        <translation>Der Download wurde nicht abgeschlossen. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>StoreSection</name>
    <message>
        <source>Explore</source>
        <translation>Entdecken</translation>
    </message>
    <message>
        <source>My Apps</source>
        <translation>Meine Apps</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
</context>
<context>
    <name>StoreStatus</name>
    <message>
        <source>Everything is up to date.</source>
        <translation>Alles ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>One app to update.</source>
        <translation>Eine App wartet auf ein Update.</translation>
    </message>
    <message numerus="yes">
        <source>%n apps to update.</source>
        <translation>
            <numerusform>%n App wartet auf ein Update.</numerusform>
            <numerusform>%n Apps warten auf ein Update.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checked %1</source>
        <translation>Zuletzt geprüft: %1</translation>
    </message>
    <message>
        <source>No updates found.</source>
        <translation>Keine Updates gefunden.</translation>
    </message>
    <message>
        <source>Could not check one app: the update service did not answer.</source>
        <translation>Eine App konnte nicht geprüft werden: Der Update-Dienst hat nicht geantwortet.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: the update service did not answer.</source>
        <translation>
            <numerusform>%n App konnte nicht geprüft werden: Der Update-Dienst hat nicht geantwortet.</numerusform>
            <numerusform>%n Apps konnten nicht geprüft werden: Der Update-Dienst hat nicht geantwortet.</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not check one app: its update feed could not be read.</source>
        <translation>Eine App konnte nicht geprüft werden: Ihr Update-Feed war nicht lesbar.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: their update feeds could not be read.</source>
        <translation>
            <numerusform>%n App konnte nicht geprüft werden: Ihr Update-Feed war nicht lesbar.</numerusform>
            <numerusform>%n Apps konnten nicht geprüft werden: Ihre Update-Feeds waren nicht lesbar.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomen</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Diese Version überspringen</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Install and Relaunch</source>
        <translation>Installieren und neu starten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>UpdateWindowState</name>
    <message>
        <source>Checking for updates…</source>
        <translation>Suche nach Updates…</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Sie sind auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>The update check failed.</source>
        <translation>Die Suche nach Updates ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>A new version of Tessel Store is available!</source>
        <translation>Eine neue Version von Tessel Store ist verfügbar!</translation>
    </message>
    <message>
        <source>Downloading Tessel Store %1…</source>
        <translation>Tessel Store %1 wird geladen…</translation>
    </message>
    <message>
        <source>Installing Tessel Store %1…</source>
        <translation>Tessel Store %1 wird installiert…</translation>
    </message>
    <message>
        <source>Starting Tessel Store %1…</source>
        <translation>Tessel Store %1 wird gestartet…</translation>
    </message>
    <message>
        <source>The update could not be installed.</source>
        <translation>Das Update konnte nicht installiert werden.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is the newest version.</source>
        <translation>Tessel Store %1 ist die neueste Version.</translation>
    </message>
    <message>
        <source>Tessel Store could not read its update feed. Check your connection and try again.</source>
        <translation>Tessel Store konnte seinen Update-Feed nicht lesen. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is now available — you have %2. Would you like to install it now?</source>
        <translation>Tessel Store %1 ist jetzt verfügbar – Sie haben %2. Möchten Sie es jetzt installieren?</translation>
    </message>
    <message>
        <source>Tessel Store %1 is installed but did not start. Open Tessel Store again to use it.</source>
        <translation>Tessel Store %1 ist installiert, wurde aber nicht gestartet. Öffnen Sie Tessel Store erneut, um es zu verwenden.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again. Tessel Store %1 stays as it is.</source>
        <translation>Der Download wurde nicht abgeschlossen. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut. Tessel Store %1 bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>The update did not pass the security check, so it was not installed. Tessel Store %1 stays as it is.</source>
        <translation>Das Update hat die Sicherheitsprüfung nicht bestanden und wurde daher nicht installiert. Tessel Store %1 bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>The update could not be opened. Tessel Store %1 stays as it is.</source>
        <translation>Das Update konnte nicht geöffnet werden. Tessel Store %1 bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>Tessel Store could not replace itself. Make sure its folder can be written, then try again. Tessel Store %1 stays as it is.</source>
        <translation>Tessel Store konnte sich nicht selbst ersetzen. Stellen Sie sicher, dass sein Ordner beschreibbar ist, und versuchen Sie es erneut. Tessel Store %1 bleibt, wie es ist.</translation>
    </message>
</context>
<context>
    <name>UpdatesView</name>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Check Again</source>
        <translation>Erneut prüfen</translation>
    </message>
    <message>
        <source>Update All</source>
        <translation>Alle aktualisieren</translation>
    </message>
    <message>
        <source>All installed apps are up to date.</source>
        <translation>Alle installierten Apps sind auf dem neuesten Stand.</translation>
    </message>
</context>
</TS>
