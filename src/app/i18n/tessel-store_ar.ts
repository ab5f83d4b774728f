<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>AboutPanel</name>
    <message>
        <source>Tessel Store</source>
        <translation>Tessel Store</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>الإصدار %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
</context>
<context>
    <name>AccountView</name>
    <message>
        <source>Appearance</source>
        <translation>المظهر</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>السمة</translation>
    </message>
    <message>
        <source>Automatic follows the system.</source>
        <translation>الوضع التلقائي يتبع النظام.</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>تلقائي</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>فاتح</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>داكن</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>الإصدار %1</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>الفتح عند تسجيل الدخول</translation>
    </message>
    <message>
        <source>The Store starts with your session and waits in the tray.</source>
        <translation>يبدأ المتجر مع جلستك وينتظر في علبة النظام.</translation>
    </message>
    <message>
        <source>The Store checks for a new version of itself once a day.</source>
        <translation>يبحث المتجر عن إصدار جديد منه مرة واحدة يوميًا.</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>التحقق الآن</translation>
    </message>
    <message>
        <source>Check for updates automatically</source>
        <translation>البحث عن التحديثات تلقائيًا</translation>
    </message>
</context>
<context>
    <name>AppDetailView</name>
    <message>
        <source>Website</source>
        <translation>الموقع الإلكتروني</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>مشاركة</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>نسخ الرابط</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>فتح في المتصفح</translation>
    </message>
    <message>
        <source>About</source>
        <translation>حول التطبيق</translation>
    </message>
</context>
<context>
    <name>AppItem</name>
    <message>
        <source>Not installed</source>
        <comment>fact.notInstalled</comment>
        <translation>غير مثبّت</translation>
    </message>
</context>
<context>
    <name>AppState</name>
    <message>
        <source>Try Again</source>
        <translation>إعادة المحاولة</translation>
    </message>
    <message>
        <source>Installing…</source>
        <translation>جارٍ التثبيت…</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>تنزيل</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>تحديث</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>فتح</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>الإصدار %1</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>Automatic</source>
        <translation>تلقائي</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>فاتح</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>داكن</translation>
    </message>
</context>
<context>
    <name>Badge</name>
    <message>
        <source>Update</source>
        <translation>تحديث</translation>
    </message>
    <message>
        <source>Installed</source>
        <comment>badge.installed</comment>
        <translation>مثبّت</translation>
    </message>
</context>
<context>
    <name>CommandMenu</name>
    <message>
        <source>About Tessel Store</source>
        <translation>حول Tessel Store</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>البحث عن تحديثات…</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>البحث عن تحديثات التطبيقات</translation>
    </message>
</context>
<context>
    <name>ExploreView</name>
    <message>
        <source>Every Orvel app.</source>
        <translation>كل تطبيقات Orvel.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>بحث</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>النتائج</translation>
    </message>
    <message>
        <source>All apps</source>
        <translation>كل التطبيقات</translation>
    </message>
    <message>
        <source>All</source>
        <translation>الكل</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>المثبّتة</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>غير المثبّتة</translation>
    </message>
    <message>
        <source>No apps match.</source>
        <translation>لا توجد تطبيقات مطابقة.</translation>
    </message>
</context>
<context>
    <name>Facts</name>
    <message>
        <source>Latest version</source>
        <translation>أحدث إصدار</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>على هذا الكمبيوتر</translation>
    </message>
    <message>
        <source>Requires</source>
        <translation>يتطلب</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>المطوّر</translation>
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
        <translation>تعذّر على المتجر تحميل التطبيقات.</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>إعادة المحاولة</translation>
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
        <translation>تطبيقاتي</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>على هذا الكمبيوتر</translation>
    </message>
    <message>
        <source>None of Orvel&apos;s apps is installed here yet.</source>
        <translation>لم يُثبَّت أي تطبيق من Orvel هنا بعد.</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>غير المثبّتة</translation>
    </message>
</context>
<context>
    <name>ProgressRing</name>
    <message>
        <source>Progress</source>
        <translation>التقدّم</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <extracomment>&quot;RTL&quot; in languages written right to left (such as Arabic), &quot;LTR&quot; in all others.</extracomment>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>ScreenshotStrip</name>
    <message>
        <source>Screenshot %1 of %2</source>
        <translation>لقطة الشاشة %1 من %2</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>تكبير</translation>
    </message>
</context>
<context>
    <name>ScreenshotViewer</name>
    <message>
        <source>Previous</source>
        <translation>السابق</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>التالي</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>إغلاق</translation>
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
        <translation>%1، تحديث واحد</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n updates</source>
        <translation>
            <numerusform>%1، لا تحديثات</numerusform>
            <numerusform>%1، تحديث واحد</numerusform>
            <numerusform>%1، تحديثان</numerusform>
            <numerusform>%1، %n تحديثات</numerusform>
            <numerusform>%1، %n تحديثًا</numerusform>
            <numerusform>%1، %n تحديث</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusBarController</name>
    <message>
        <source>Open Tessel Store</source>
        <translation>فتح Tessel Store</translation>
    </message>
    <message>
        <source>Update All (%1)</source>
        <translation>تحديث الكل (%1)</translation>
    </message>
    <message>
        <source>Everything is up to date.</source>
        <translation>كل شيء محدَّث.</translation>
    </message>
    <message>
        <source>Check for App Updates</source>
        <translation>البحث عن تحديثات التطبيقات</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>البحث عن تحديثات…</translation>
    </message>
    <message>
        <source>Quit Tessel Store</source>
        <translation>إنهاء Tessel Store</translation>
    </message>
</context>
<context>
    <name>StoreModel</name>
    <message>
        <source>Could not reach the update feed.</source>
        <translation>تعذّر الوصول إلى موجز التحديثات.</translation>
    </message>
    <message>
        <source>The update was installed, but this Mac still opens an older copy. Remove the older copy and try again.</source>
        <translation>ثُبّت التحديث، لكن جهاز Mac هذا لا يزال يفتح نسخة أقدم. أزل النسخة الأقدم وحاول مرة أخرى.</translation>
    </message>
    <message>
        <source>This download did not pass the security check, so it was not installed.</source>
        <translation>لم يجتز هذا التنزيل فحص الأمان، لذا لم يُثبَّت.</translation>
    </message>
    <message>
        <source>The download could not be opened.</source>
        <translation>تعذّر فتح التنزيل.</translation>
    </message>
    <message>
        <source>The app could not be replaced. Quit it and try again, or update it from the app itself.</source>
        <translation>تعذّر استبدال التطبيق. أغلقه وحاول مرة أخرى، أو حدّثه من داخل التطبيق نفسه.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again.</source>
        <translation>لم يكتمل التنزيل. تحقّق من اتصالك وحاول مرة أخرى.</translation>
    </message>
</context>
<context>
    <name>StoreSection</name>
    <message>
        <source>Explore</source>
        <translation>استكشاف</translation>
    </message>
    <message>
        <source>My Apps</source>
        <translation>تطبيقاتي</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>التحديثات</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>الحساب</translation>
    </message>
</context>
<context>
    <name>StoreStatus</name>
    <message>
        <source>Everything is up to date.</source>
        <translation>كل شيء محدَّث.</translation>
    </message>
    <message>
        <source>One app to update.</source>
        <translation>تطبيق واحد بحاجة إلى تحديث.</translation>
    </message>
    <message numerus="yes">
        <source>%n apps to update.</source>
        <translation>
            <numerusform>لا توجد تطبيقات بحاجة إلى تحديث.</numerusform>
            <numerusform>تطبيق واحد بحاجة إلى تحديث.</numerusform>
            <numerusform>تطبيقان بحاجة إلى تحديث.</numerusform>
            <numerusform>%n تطبيقات بحاجة إلى تحديث.</numerusform>
            <numerusform>%n تطبيقًا بحاجة إلى تحديث.</numerusform>
            <numerusform>%n تطبيق بحاجة إلى تحديث.</numerusform>
        </translation>
    </message>
    <message>
        <source>Checked %1</source>
        <translation>آخر فحص %1</translation>
    </message>
    <message>
        <source>No updates found.</source>
        <translation>لم يُعثر على تحديثات.</translation>
    </message>
    <message>
        <source>Could not check one app: the update service did not answer.</source>
        <translation>تعذّر فحص تطبيق واحد: لم تستجب خدمة التحديثات.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: the update service did not answer.</source>
        <translation>
            <numerusform>تعذّر فحص %n تطبيق: لم تستجب خدمة التحديثات.</numerusform>
            <numerusform>تعذّر فحص تطبيق واحد: لم تستجب خدمة التحديثات.</numerusform>
            <numerusform>تعذّر فحص تطبيقين: لم تستجب خدمة التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيقات: لم تستجب خدمة التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيقًا: لم تستجب خدمة التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيق: لم تستجب خدمة التحديثات.</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not check one app: its update feed could not be read.</source>
        <translation>تعذّر فحص تطبيق واحد: تعذّرت قراءة موجز تحديثاته.</translation>
    </message>
    <message numerus="yes">
        <source>Could not check %n apps: their update feeds could not be read.</source>
        <translation>
            <numerusform>تعذّر فحص %n تطبيق: تعذّرت قراءة موجزات التحديثات.</numerusform>
            <numerusform>تعذّر فحص تطبيق واحد: تعذّرت قراءة موجز تحديثاته.</numerusform>
            <numerusform>تعذّر فحص تطبيقين: تعذّرت قراءة موجزات التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيقات: تعذّرت قراءة موجزات التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيقًا: تعذّرت قراءة موجزات التحديثات.</numerusform>
            <numerusform>تعذّر فحص %n تطبيق: تعذّرت قراءة موجزات التحديثات.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>تصغير</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>تكبير</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>تحديث البرنامج</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>تخطي هذا الإصدار</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>ذكّرني لاحقًا</translation>
    </message>
    <message>
        <source>Install and Relaunch</source>
        <translation>التثبيت وإعادة التشغيل</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>حسنًا</translation>
    </message>
</context>
<context>
    <name>UpdateWindowState</name>
    <message>
        <source>Checking for updates…</source>
        <translation>جارٍ البحث عن تحديثات…</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>لديك أحدث إصدار!</translation>
    </message>
    <message>
        <source>The update check failed.</source>
        <translation>فشل البحث عن التحديثات.</translation>
    </message>
    <message>
        <source>A new version of Tessel Store is available!</source>
        <translation>يتوفر إصدار جديد من Tessel Store!</translation>
    </message>
    <message>
        <source>Downloading Tessel Store %1…</source>
        <translation>جارٍ تنزيل Tessel Store %1…</translation>
    </message>
    <message>
        <source>Installing Tessel Store %1…</source>
        <translation>جارٍ تثبيت Tessel Store %1…</translation>
    </message>
    <message>
        <source>Starting Tessel Store %1…</source>
        <translation>جارٍ تشغيل Tessel Store %1…</translation>
    </message>
    <message>
        <source>The update could not be installed.</source>
        <translation>تعذّر تثبيت التحديث.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is the newest version.</source>
        <translation>Tessel Store %1 هو أحدث إصدار.</translation>
    </message>
    <message>
        <source>Tessel Store could not read its update feed. Check your connection and try again.</source>
        <translation>تعذّر على Tessel Store قراءة موجز التحديثات. تحقق من اتصالك وحاول مرة أخرى.</translation>
    </message>
    <message>
        <source>Tessel Store %1 is now available — you have %2. Would you like to install it now?</source>
        <translation>يتوفر الآن Tessel Store %1 — لديك %2. هل تريد تثبيته الآن؟</translation>
    </message>
    <message>
        <source>Tessel Store %1 is installed but did not start. Open Tessel Store again to use it.</source>
        <translation>تم تثبيت Tessel Store %1 لكنه لم يبدأ. افتح Tessel Store مرة أخرى لاستخدامه.</translation>
    </message>
    <message>
        <source>The download did not finish. Check your connection and try again. Tessel Store %1 stays as it is.</source>
        <translation>لم يكتمل التنزيل. تحقق من اتصالك وحاول مرة أخرى. يبقى Tessel Store %1 كما هو.</translation>
    </message>
    <message>
        <source>The update did not pass the security check, so it was not installed. Tessel Store %1 stays as it is.</source>
        <translation>لم يجتز التحديث فحص الأمان، لذا لم يُثبَّت. يبقى Tessel Store %1 كما هو.</translation>
    </message>
    <message>
        <source>The update could not be opened. Tessel Store %1 stays as it is.</source>
        <translation>تعذّر فتح التحديث. يبقى Tessel Store %1 كما هو.</translation>
    </message>
    <message>
        <source>Tessel Store could not replace itself. Make sure its folder can be written, then try again. Tessel Store %1 stays as it is.</source>
        <translation>تعذّر على Tessel Store استبدال نفسه. تأكد من أن مجلده قابل للكتابة، ثم حاول مرة أخرى. يبقى Tessel Store %1 كما هو.</translation>
    </message>
</context>
<context>
    <name>UpdatesView</name>
    <message>
        <source>Updates</source>
        <translation>التحديثات</translation>
    </message>
    <message>
        <source>Check Again</source>
        <translation>التحقق مجددًا</translation>
    </message>
    <message>
        <source>Update All</source>
        <translation>تحديث الكل</translation>
    </message>
    <message>
        <source>All installed apps are up to date.</source>
        <translation>كل التطبيقات المثبّتة محدَّثة.</translation>
    </message>
</context>
</TS>
