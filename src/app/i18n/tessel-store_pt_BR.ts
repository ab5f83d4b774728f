<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>AboutPanel</name>
    <message>
        <source>Tessel Store</source>
        <translation>Tessel Store</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>AccountView</name>
    <message>
        <source>Appearance</source>
        <translation>Aparência</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Tema</translation>
    </message>
    <message>
        <source>Automatic follows the system.</source>
        <translation>Automático segue o sistema.</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Escuro</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Abrir ao iniciar a sessão</translation>
    </message>
    <message>
        <source>The Store starts with your session and waits in the tray.</source>
        <translation>A Store abre com a sua sessão e espera na bandeja do sistema.</translation>
    </message>
    <message>
        <source>The Store checks for a new version of itself once a day.</source>
        <translation>A Store procura uma nova versão de si mesma uma vez por dia.</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Verificar agora</translation>
    </message>
    <message>
        <source>Check for updates automatically</source>
        <translation>Procurar atualizações automaticamente</translation>
    </message>
</context>
<context>
    <name>AppDetailView</name>
    <message>
        <source>Website</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Compartilhar</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>Copiar link</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>Abrir no navegador</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
</context>
<context>
    <name>AppItem</name>
    <message>
        <source>Not installed</source>
        <comment>fact.notInstalled</comment>
        <translation>Não instalado</translation>
    </message>
</context>
<context>
    <name>AppState</name>
    <message>
        <source>Try Again</source>
        <translation>Tentar novamente</translation>
    </message>
    <message>
        <source>Installing…</source>
        <translation>Instalando…</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Obter</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>Automatic</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Escuro</translation>
    </message>
</context>
<context>
    <name>Badge</name>
    <message>
        <source>Update</source>
        <translation>Atualização</translation>
    </message>
    <message>
        <source>Installed</source>
        <comment>badge.installed</comment>
        <translation>Instalado</translation>
    </message>
</context>
<context>
    <name>CommandMenu</name>
    <message>
        <source>About Tessel Store</source>
        <translation>Sobre o Tessel Store</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Procurar atualizações…</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>Procurar atualizações de apps</translation>
    </message>
</context>
<context>
    <name>ExploreView</name>
    <message>
        <source>Every Orvel app.</source>
        <translation>Todos os apps da Orvel.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Resultados</translation>
    </message>
    <message>
        <source>All apps</source>
        <translation>Todos os apps</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Todos</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>Instalados</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Não instalados</translation>
    </message>
    <message>
        <source>No apps match.</source>
        <translation>Nenhum app encontrado.</translation>
    </message>
</context>
<context>
    <name>Facts</name>
    <message>
        <source>Latest version</source>
        <translation>Versão mais recente</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>Neste computador</translation>
    </message>
    <message>
        <source>Requires</source>
        <translation>Requer</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Desenvolvedor</translation>
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
        <translation>A loja não conseguiu carregar os apps.</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Tentar novamente</translation>
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
        <translation>Meus apps</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>Neste computador</translation>
    </message>
    <message>
        <source>None of Orvel&apos;s apps is installed here yet.</source>
        <translation>Nenhum app da Orvel está instalado aqui ainda.</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Não instalados</translation>
    </message>
</context>
<context>
    <name>ProgressRing</name>
    <message>
        <source>Progress</source>
        <translation>Progresso</translation>
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
        <translation>Captura de tela %1 de %2</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>Ampliar</translation>
    </message>
</context>
<context>
    <name>ScreenshotViewer</name>
    <message>
        <source>Previous</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Próxima</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
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
        <translation>%1, uma atualização</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n updates</source>
        <translation>
            <numerusform>%1, %n atualização</numerusform>
            <numerusform>%1, %n atualizações</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusBarController</name>
    <message>
        <source>Open Tessel Store</source>
        <translation>Abrir o Tessel Store</translation>
    </message>
    <message>
        <source>Update All (%1)</source>
        <translation>Atualizar tudo (%1)</translation>
    </message>
    <message>
        <source>Everything is up to date.</source>
        <translation>Tudo está atualizado.</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>Procurar atualizações de apps</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Procurar atualizações…</translation>
    </message>
    <message>
        <source>Quit Tessel Store</source>
        <translation>Encerrar o Tessel Store</translation>
    </message>
</context>
<context>
    <name>StoreModel</name>
    <message>
        <source>Could not reach the update feed.</source>
        <translation>Não foi possível acessar o feed de atualizações.</translation>
    </message>
    <message>
        <source>The update was installed, but this Mac still opens an older copy. Remove the older copy and try again.</source>
        <translation>A atualização foi instalada, mas este Mac ainda abre uma cópia mais antiga. Remova a cópia mais antiga e tente novamente.</translation>
    </message>
    <message>
        <source>This download did not pass the security check, so it was not installed.</source>
        <translation>Este download não passou na verificação de segurança e por isso não foi instalado.</translation>
    </message>
    <message>
        <source>The download could not be opened.</source>
        <translation>Não foi possível abrir o download.</translation>
    </message>
    <message>
        <source>The app could not be replaced. Quit it and try again, or update it from the app itself.</source>
        <translation>Não foi possível substituir o app. Encerre-o e tente novamente, ou atualize-o pelo próprio app.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again.</source>
        <translation>O download não terminou. Verifique sua conexão e tente novamente.</translation>
    </message>
</context>
<context>
    <name>StoreSection</name>
    <message>
        <source>Explore</source>
        <translation>Explorar</translation>
    </message>
    <message>
        <source>My Apps</source>
        <translation>Meus apps</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Atualizações</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Conta</translation>
    </message>
</context>
<context>
    <name>StoreStatus</name>
    <message>
        <source>Everything is up to date.</source>
        <translation>Tudo está atualizado.</translation>
    </message>
    <message>
        <source>One app to update.</source>
        <translation>Um app para atualizar.</translation>
    </message>
    <message numerus="yes">
        <source>%n apps to update.</source>
        <translation>
            <numerusform>%n app para atualizar.</numerusform>
            <numerusform>%n apps para atualizar.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checked %1</source>
        <translation>Verificado %1</translation>
    </message>
    <message>
        <source>No updates found.</source>
        <translation>Nenhuma atualização encontrada.</translation>
    </message>
    <message>
        <source>Could not check one app: the update service did not answer.</source>
        <translation>Não foi possível verificar um app: o serviço de atualizações não respondeu.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: the update service did not answer.</source>
        <translation>
            <numerusform>Não foi possível verificar %n app: o serviço de atualizações não respondeu.</numerusform>
            <numerusform>Não foi possível verificar %n apps: o serviço de atualizações não respondeu.</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not check one app: its update feed could not be read.</source>
        <translation>Não foi possível verificar um app: o feed de atualizações dele não pôde ser lido.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: their update feeds could not be read.</source>
        <translation>
            <numerusform>Não foi possível verificar %n app: o feed de atualizações dele não pôde ser lido.</numerusform>
            <numerusform>Não foi possível verificar %n apps: os feeds de atualizações deles não puderam ser lidos.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Atualização de software</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Pular esta versão</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Lembrar mais tarde</translation>
    </message>
    <message>
        <source>Install and Relaunch</source>
        <translation>Instalar e reabrir</translation>
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
        <translation>Procurando atualizações…</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Você está em dia!</translation>
    </message>
    <message>
        <source>The update check failed.</source>
        <translation>A verificação de atualizações falhou.</translation>
    </message>
    <message>
        <source>A new version of Tessel Store is available!</source>
        <translation>Uma nova versão do Tessel Store está disponível!</translation>
    </message>
    <message>
        <source>Downloading Tessel Store %1…</source>
        <translation>Baixando o Tessel Store %1…</translation>
    </message>
    <message>
        <source>Installing Tessel Store %1…</source>
        <translation>Instalando o Tessel Store %1…</translation>
    </message>
    <message>
        <source>Starting Tessel Store %1…</source>
        <translation>Iniciando o Tessel Store %1…</translation>
    </message>
    <message>
        <source>The update could not be installed.</source>
        <translation>Não foi possível instalar a atualização.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is the newest version.</source>
        <translation>O Tessel Store %1 é a versão mais recente.</translation>
    </message>
    <message>
        <source>Tessel Store could not read its update feed. Check your connection and try again.</source>
        <translation>O Tessel Store não conseguiu ler seu feed de atualizações. Verifique sua conexão e tente novamente.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is now available — you have %2. Would you like to install it now?</source>
        <translation>O Tessel Store %1 já está disponível — você tem a %2. Deseja instalá-lo agora?</translation>
    </message>
    <message>
        <source>Tessel Store %1 is installed but did not start. Open Tessel Store again to use it.</source>
        <translation>O Tessel Store %1 foi instalado, mas não abriu. Abra o Tessel Store novamente para usá-lo.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again. Tessel Store %1 stays as it is.</source>
        <translation>O download não terminou. Verifique sua conexão e tente novamente. O Tessel Store %1 continua como está.</translation>
    </message>
    <message>
        <source>The update did not pass the security check, so it was not installed. Tessel Store %1 stays as it is.</source>
        <translation>A atualização não passou na verificação de segurança e por isso não foi instalada. O Tessel Store %1 continua como está.</translation>
    </message>
    <message>
        <source>The update could not be opened. Tessel Store %1 stays as it is.</source>
        <translation>Não foi possível abrir a atualização. O Tessel Store %1 continua como está.</translation>
    </message>
    <message>
        <source>Tessel Store could not replace itself. Make sure its folder can be written, then try again. Tessel Store %1 stays as it is.</source>
        <translation>O Tessel Store não conseguiu se substituir. Verifique se a pasta dele permite gravação e tente novamente. O Tessel Store %1 continua como está.</translation>
    </message>
</context>
<context>
    <name>UpdatesView</name>
    <message>
        <source>Updates</source>
        <translation>Atualizações</translation>
    </message>
    <message>
        <source>Check Again</source>
        <translation>Verificar novamente</translation>
    </message>
    <message>
        <source>Update All</source>
        <translation>Atualizar tudo</translation>
    </message>
    <message>
        <source>All installed apps are up to date.</source>
        <translation>Todos os apps instalados estão atualizados.</translation>
    </message>
</context>
</TS>
