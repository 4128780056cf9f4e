#!/usr/bin/python3
"""Writes Varnhold's language files DLan_<Language>.ini from the one table below.

Translators edit this file only, in UTF-8. The windows' texts are entries of
this table, English included; the messages' English is their row in
res/messages.h, and this table holds their translations. Each file is written
in the ANSI code page of its language (Windows-1252, or GBK for Chinese),
which its [Language] section names, with CRLF line endings.

    /usr/bin/python3 lang/make_language_files.py

The four labels that show the analysis figures (lCurrentRegistrySize,
lNewRegistrySize, lSizeReduction, lCompactPercent) are deliberately absent:
a value for them would overwrite the figures of an analysis whenever the
language is changed afterwards.
"""

import os
import re
import sys

# Language name (as in the file name and the menu item) -> (Python codec,
# Windows code page) of its file.
LANGUAGES = {
    "English": ("cp1252", 1252),
    "French": ("cp1252", 1252),
    "German": ("cp1252", 1252),
    "Spanish": ("cp1252", 1252),
    "Italian": ("cp1252", 1252),
    "Dutch": ("cp1252", 1252),
    "Chinese": ("gbk", 936),
}

HERE = os.path.dirname(os.path.abspath(__file__))
MESSAGE_TABLE = os.path.join(HERE, "..", "res", "messages.h")
# Messages no language translates (none yet): they stay out of the files, so
# the program shows their English.
DELIBERATELY_ENGLISH = set()


def read_messages():
    """key -> English, in the order of res/messages.h."""
    with open(MESSAGE_TABLE, encoding="utf-8") as table:
        rows = re.findall(r'^VH_MESSAGE\((\w+), (\d+), "(\w+)", "([^"]*)"\)$', table.read(), re.M)
    return {key: english for _, _, key, english in rows}


MESSAGES = read_messages()

# The title label's value replaces its whole text, version included: bump
# it here with every release.
TITLE = "Varnhold 1.5 Beta"
PRODUCT = "Varnhold"
WEB_SITE = "tolvane.com"
SUPPORT_MAIL = "support@tolvane.com"
COPYRIGHT = "Copyright (C) 2026 Tolvane Software"
BUILD = "1.5   Build 20091125"

ENTRIES = []  # (section, key, {language: text}), in file order


def text(section, key, en, fr, de, es, it, nl, zh):
    ENTRIES.append((section, key, {"English": en, "French": fr, "German": de, "Spanish": es,
                                   "Italian": it, "Dutch": nl, "Chinese": zh}))


def same(section, key, value):
    """A text that reads the same in every language (names, addresses)."""
    text(section, key, value, value, value, value, value, value, value)


def message(key, fr, de, es, it, nl, zh):
    """A message of res/messages.h: its English is the table's."""
    if key not in MESSAGES:
        sys.exit(f"{key} is no row of res/messages.h")
    text("ResourceString", key, MESSAGES[key], fr, de, es, it, nl, zh)


def places(value):
    return sorted(set(re.findall(r"%[1-9]", value)))


# ---------------------------------------------------------------- code page
# Read first, before the file is decoded: the key is ASCII in every code page.
ENTRIES.append(("Language", "CodePage", {name: str(cp) for name, (_, cp) in LANGUAGES.items()}))


# ---------------------------------------------------------------- main window
# Flat buttons grow with their captions but must stay left of the hive list:
# keep them to about 16 characters. Their "&" letters are the Alt+letter
# keys of the commands and must differ among the seven buttons. The labels before the figures have about
# 22 characters before they run into the numbers.
M = "frmMain"
same(M, "frmMain", PRODUCT)
same(M, "lTitle", TITLE)
text(M, "lTitle1", "Main", "Principal", "Allgemein", "Principal", "Principale", "Algemeen", "主要功能")
text(M, "bAnalyzeRegistry", "&Analyze Registry", "&Analyser", "&Analysieren", "&Analizar", "&Analizza",
     "&Analyseren", "分析注册表(&A)")
text(M, "bDefragRegistry", "&Defrag Registry", "&Défragmenter", "&Defragmentieren", "&Desfragmentar",
     "&Deframmenta", "&Defragmenteren", "整理注册表(&D)")
text(M, "bOptions", "&Options", "&Options", "&Optionen", "&Opciones", "&Opzioni", "&Opties", "选项(&O)")
text(M, "lTitle3", "Help", "Aide", "Hilfe", "Ayuda", "Guida", "Help", "帮助")
text(M, "bLanguage", "&Language", "&Langue", "&Sprache", "&Idioma", "&Lingua", "&Taal", "语言(&L)")
text(M, "bAbout", "&Help", "A&ide", "&Hilfe", "Ay&uda", "&Guida", "&Help", "帮助(&H)")
text(M, "bExit", "E&xit", "&Quitter", "&Beenden", "&Salir", "&Esci", "Af&sluiten", "退出(&X)")
text(M, "lvMain_Column0", "Hive Name", "Ruche", "Registry-Hive", "Subárbol", "Hive", "Registercomponent",
     "配置单元")
text(M, "lvMain_Column1", "Current Size", "Taille avant", "Aktuell", "Actual", "Attuale", "Huidig",
     "当前大小")
text(M, "lvMain_Column2", "New Size", "Taille après", "Neu", "Nuevo", "Nuova", "Nieuw", "新大小")
text(M, "lvMain_Column3", "Reduction", "Réduction", "Ersparnis", "Reducción", "Riduzione", "Besparing",
     "减少")
text(M, "lLastWashed", "Current Registry Size:", "Taille actuelle :", "Aktuelle Größe:", "Tamaño actual:",
     "Dimensione attuale:", "Huidige grootte:", "当前注册表大小：")
text(M, "Label4", "New Registry Size:", "Nouvelle taille :", "Neue Größe:", "Tamaño nuevo:",
     "Nuova dimensione:", "Nieuwe grootte:", "新注册表大小：")
text(M, "Label5", "Size Reduction:", "Réduction :", "Ersparnis:", "Reducción:", "Riduzione:",
     "Besparing:", "减少：")
text(M, "lCompactPercent1", "Compact Percent:", "Taux de compactage :", "Komprimierungsgrad:",
     "Compactación:", "Compattazione:", "Compactiegraad:", "压缩率：")
text(M, "Label6", "Step Hint:", "Étapes :", "Schritte:", "Pasos:", "Passaggi:", "Stappen:", "操作步骤：")
text(M, "Label2", "1. Analyze the Windows registry.", "1. Analyser le registre Windows.",
     "1. Windows-Registry analysieren.", "1. Analice el registro de Windows.",
     "1. Analizzare il registro di Windows.", "1. Analyseer het Windows-register.",
     "1. 分析 Windows 注册表。")
text(M, "Label1", "2. Review the analyzing result.", "2. Examiner le résultat de l'analyse.",
     "2. Ergebnis der Analyse prüfen.", "2. Revise el resultado del análisis.",
     "2. Esaminare i risultati dell'analisi.", "2. Bekijk het resultaat van de analyse.",
     "2. 查看分析结果。")
text(M, "Label3", "3. Defrag the registry and restart the pc.", "3. Défragmenter et redémarrer le PC.",
     "3. Defragmentieren und PC neu starten.", "3. Desfragmente y reinicie el equipo.",
     "3. Deframmentare e riavviare il PC.", "3. Defragmenteer en herstart de pc.",
     "3. 整理注册表并重新启动计算机。")
same(M, "suiURLLabel1", WEB_SITE)
# In the step hint's place while swaps wait for the restart: four lines of
# about 38 characters. The button's name is quoted by RES_Restart_Failed.
text(M, "lRestartPending",
     "Hives are swapped and wait for the restart. Every registry change until then is lost: restart now.",
     "Les ruches sont remplacées et attendent le redémarrage. Toute modification du registre d'ici là est "
     "perdue : redémarrez.",
     "Die Hives sind ausgetauscht und warten auf den Neustart. Jede Registry-Änderung bis dahin geht verloren: "
     "jetzt neu starten.",
     "Los subárboles están intercambiados y esperan el reinicio. Todo cambio del registro hasta entonces se "
     "pierde: reinicie.",
     "Gli hive sono sostituiti e attendono il riavvio. Ogni modifica al registro fino ad allora va persa: "
     "riavviare ora.",
     "De componenten zijn vervangen en wachten op de herstart. Elke registerwijziging tot dan gaat verloren: "
     "start nu opnieuw op.",
     "配置单元已替换，正在等待重新启动。在此之前对注册表的所有更改都将丢失：请立即重新启动。")
text(M, "bRestartNow", "&Restart Now", "&Redémarrer maintenant", "Jetzt &neu starten", "&Reiniciar ahora",
     "&Riavvia ora", "&Nu herstarten", "立即重新启动(&R)")

# ---------------------------------------------------------------- main menus
# Accelerators must differ within each menu: the help menu (pmiHelp to
# About1) and the language menu (miChinese to miOther) are separate menus.
MM = "Menu_frmMain"
text(MM, "pmiHelp", "&Help", "&Aide", "&Hilfe", "&Ayuda", "&Guida", "&Help", "帮助(&H)")
text(MM, "Homepage1", "H&omepage", "Page d'acc&ueil", "H&omepage", "Página de &inicio", "&Home page",
     "H&omepage", "主页(&O)")
text(MM, "pmiCheckUpdate", "&Check for Update", "&Rechercher des mises à jour", "Nach &Updates suchen",
     "&Buscar actualizaciones", "&Controlla aggiornamenti", "Controleren op &updates", "检查更新(&C)")
text(MM, "pmiDonate", "&Donate", "&Faire un don", "&Spenden", "&Donar", "&Dona", "&Doneren", "捐助(&D)")
text(MM, "About1", "&About...", "À &propos...", "Ü&ber...", "A&cerca de...", "&Informazioni...",
     "&Info...", "关于(&A)...")
text(MM, "pmiUndo", "&Undo Last Defragmentation", "A&nnuler la dernière défragmentation",
     "Letzte Defragmentierung &rückgängig machen", "Des&hacer la última desfragmentación",
     "Ann&ulla l'ultima deframmentazione", "&Laatste defragmentatie ongedaan maken", "撤销上次整理(&U)")
text(MM, "miChinese", "&Chinese", "&Chinois", "&Chinesisch", "&Chino", "&Cinese", "&Chinees", "中文(&C)")
text(MM, "miDutch", "&Dutch", "&Néerlandais", "&Niederländisch", "&Neerlandés", "&Olandese", "&Nederlands",
     "荷兰语(&D)")
text(MM, "miEnglish", "&English", "&Anglais", "&Englisch", "&Inglés", "&Inglese", "&Engels", "英语(&E)")
text(MM, "miFrench", "&French", "&Français", "&Französisch", "&Francés", "&Francese", "&Frans", "法语(&F)")
text(MM, "miGerman", "&German", "A&llemand", "&Deutsch", "&Alemán", "&Tedesco", "&Duits", "德语(&G)")
text(MM, "miItalian", "&Italian", "&Italien", "&Italienisch", "I&taliano", "It&aliano", "&Italiaans",
     "意大利语(&I)")
text(MM, "miSpanish", "&Spanish", "&Espagnol", "&Spanisch", "&Español", "&Spagnolo", "&Spaans",
     "西班牙语(&S)")
text(MM, "miOther", "Other", "Autre", "Andere", "Otro", "Altra", "Overige", "其他")

# ---------------------------------------------------------------- Options
# The tick boxes size themselves; about 70 characters fit the dialog.
O = "frmOptions"
text(O, "frmOptions", "Options", "Options", "Optionen", "Opciones", "Opzioni", "Opties", "选项")
same(O, "GroupBox2", "")
text(O, "cbAskBeforeDefrag", "&Ask before defraging the registy",
     "&Demander confirmation avant de défragmenter le registre",
     "Vor dem Defragmentieren der Registry &nachfragen", "&Preguntar antes de desfragmentar el registro",
     "&Chiedi conferma prima di deframmentare il registro", "&Vragen voordat het register wordt gedefragmenteerd",
     "整理注册表前询问(&A)")
text(O, "cbShowLines", "Show &Grid Lines for the hive name list",
     "Afficher le &quadrillage dans la liste des ruches", "&Gitternetzlinien in der Hive-Liste anzeigen",
     "Mostrar la c&uadrícula en la lista de subárboles", "Mostra la &griglia nell'elenco degli hive",
     "&Rasterlijnen tonen in de lijst met registercomponenten", "在配置单元列表中显示网格线(&G)")
text(O, "cbCreateRestore", "Create a system &restore point before defragment (XP, Vista, Seven)",
     "Créer un point de &restauration avant de défragmenter (XP, Vista, 7)",
     "Vorher einen &Wiederherstellungspunkt erstellen (XP, Vista, 7)",
     "Crear un punto de &restauración antes de desfragmentar (XP, Vista, 7)",
     "Crea un punto di &ripristino prima di deframmentare (XP, Vista, 7)",
     "Een &herstelpunt maken voor het defragmenteren (XP, Vista, 7)",
     "整理前创建系统还原点 (XP、Vista、Windows 7)(&R)")
text(O, "bOK", "&OK", "&OK", "&OK", "&Aceptar", "&OK", "&OK", "确定(&O)")
text(O, "bCancel", "&Cancel", "&Annuler", "&Abbrechen", "&Cancelar", "&Annulla", "&Annuleren", "取消(&C)")

# ---------------------------------------------------------------- confirmation
# Label2 and Label3 are one sentence over two fixed-width lines of about 65
# characters; the tick box fits about 20 characters.
A = "frmAskDelete"
text(A, "frmAskDelete", "Defrag Now", "Défragmenter maintenant", "Jetzt defragmentieren",
     "Desfragmentar ahora", "Deframmenta ora", "Nu defragmenteren", "立即整理")
same(A, "GroupBox1", "")
text(A, "Label1", "Are you sure you want to start to defrag your registry?",
     "Voulez-vous vraiment défragmenter le registre ?", "Möchten Sie die Registry jetzt defragmentieren?",
     "¿Seguro que desea desfragmentar el registro ahora?", "Avviare ora la deframmentazione del registro?",
     "Weet u zeker dat u het register wilt defragmenteren?", "确定要开始整理注册表吗？")
text(A, "bOK", "&Yes", "&Oui", "&Ja", "&Sí", "&Sì", "&Ja", "是(&Y)")
text(A, "bCancel", "&No", "&Non", "&Nein", "&No", "&No", "&Nee", "否(&N)")
text(A, "Label2", "You must restart your computer for the changes to take effect",
     "Une fois la défragmentation terminée, vous devrez",
     "Nach dem Defragmentieren müssen Sie den Computer neu starten,",
     "Al terminar la desfragmentación, debe reiniciar el equipo",
     "Al termine della deframmentazione è necessario riavviare",
     "Na het defragmenteren moet u de computer opnieuw opstarten",
     "整理注册表完成后，必须重新启动计算机，")
text(A, "Label3", "after you finish the Registry defragment.",
     "redémarrer l'ordinateur pour appliquer les modifications.",
     "damit die Änderungen wirksam werden.", "para que los cambios surtan efecto.",
     "il computer per rendere effettive le modifiche.", "om de wijzigingen door te voeren.",
     "所做的更改才能生效。")
same(A, "Panel2", "")
text(A, "cbAsk", "&Don't ask me next time", "Ne &plus demander", "Nicht mehr &fragen", "No &preguntar más",
     "Non &chiedere più", "Niet meer &vragen", "下次不再询问(&D)")

# ---------------------------------------------------------------- restore point
# Label1 and Label3 are one sentence over two lines of about 65 characters.
R = "frmSystemPoint"
text(R, "frmSystemPoint", "Create System Point", "Point de restauration", "Wiederherstellungspunkt",
     "Punto de restauración", "Punto di ripristino", "Herstelpunt maken", "创建系统还原点")
same(R, "suiGroupBox1", "")
text(R, "lScanTask", "Creating Restore Point", "Création d'un point de restauration",
     "Wiederherstellungspunkt wird erstellt", "Creando un punto de restauración",
     "Creazione del punto di ripristino", "Herstelpunt wordt gemaakt", "正在创建还原点")
text(R, "Label1", "Varnhold is creating a restore point which will",
     "Varnhold crée un point de restauration qui vous permettra",
     "Varnhold erstellt einen Wiederherstellungspunkt, mit dem Sie",
     "Varnhold está creando un punto de restauración que le permitirá",
     "Varnhold sta creando un punto di ripristino che consentirà",
     "Varnhold maakt een herstelpunt waarmee u uw systeem",
     "Varnhold 正在创建系统还原点，")
text(R, "Label3", "enable you to safely return your system back to its former state.",
     "de ramener votre système à son état antérieur en toute sécurité.",
     "Ihr System sicher in den früheren Zustand zurücksetzen können.",
     "devolver su sistema de forma segura a su estado anterior.",
     "di riportare il sistema in sicurezza allo stato precedente.",
     "veilig kunt terugzetten naar de vorige toestand.",
     "以便日后将系统安全地恢复到之前的状态。")
text(R, "Label2", "Please wait...", "Veuillez patienter...", "Bitte warten...", "Espere, por favor...",
     "Attendere...", "Even geduld...", "请稍候...")

# ---------------------------------------------------------------- progress
# Label2 stands in about 11 characters before the hive name.
P = "frmGetNewHiveProgess"
text(P, "frmGetNewHiveProgess", "Defrag Registry", "Défragmentation du registre", "Registry defragmentieren",
     "Desfragmentar el registro", "Deframmentazione del registro", "Register defragmenteren", "整理注册表")
text(P, "bStop", "Stop", "Arrêter", "Anhalten", "Detener", "Interrompi", "Stoppen", "停止")
same(P, "GroupBox1", "")
text(P, "Label1", "Analyzing registry. Please wait.", "Analyse du registre. Veuillez patienter.",
     "Registry wird analysiert. Bitte warten.", "Analizando el registro. Espere, por favor.",
     "Analisi del registro in corso. Attendere.", "Het register wordt geanalyseerd. Even geduld.",
     "正在分析注册表，请稍候。")
text(P, "Label2", "Checking:", "En cours :", "Prüfe:", "Revisando:", "Verifica:", "Bezig met:", "正在检查：")

# ---------------------------------------------------------------- About box
B = "frmAbout"
text(B, "frmAbout", "About Varnhold", "À propos de Varnhold", "Über Varnhold", "Acerca de Varnhold",
     "Informazioni su Varnhold", "Over Varnhold", "关于 Varnhold")
same(B, "Label1", PRODUCT)
text(B, "lCopywrite", COPYRIGHT, COPYRIGHT, COPYRIGHT, COPYRIGHT, COPYRIGHT, COPYRIGHT,
     "版权所有 (C) 2026 Tolvane Software")
text(B, "Label3", "Email: " + SUPPORT_MAIL, "E-mail : " + SUPPORT_MAIL, "E-Mail: " + SUPPORT_MAIL,
     "Correo: " + SUPPORT_MAIL, "E-mail: " + SUPPORT_MAIL, "E-mail: " + SUPPORT_MAIL,
     "电子邮件：" + SUPPORT_MAIL)
same(B, "lbEAddress", WEB_SITE)
text(B, "Label2", "Version: " + BUILD, "Version : " + BUILD, "Version: " + BUILD, "Versión: " + BUILD,
     "Versione: " + BUILD, "Versie: " + BUILD, "版本：" + BUILD)
text(B, "lPoweredBy", "Powered by:", "Développé par :", "Entwickelt von:", "Desarrollado por:",
     "Sviluppato da:", "Ontwikkeld door:", "开发者：")
same(B, "Panel2", "")
text(B, "bOK", "&OK", "&OK", "&OK", "&Aceptar", "&OK", "&OK", "确定(&O)")

# ---------------------------------------------------------------- messages
# The [ResourceString] section: one entry a row of res/messages.h, whose
# English it takes. %1 to %9 are what the program fills in (a path, a date,
# a figure); each translation keeps every place of its English, in any
# order. RES_Not_Found follows a file's path: "<path> can not be found.".
# Message boxes wrap their texts; the progress dialog's RES_Recopy_Label,
# RES_Recheck_Label, RES_Undo_Check_Label and RES_Stop_Process take Label1's place (about 40 characters), RES_Not_Copied
# stands in a column of the hive list (about 12), as do the RES_Left_Alone_*
# names (cut there; the notices give the reason, RES_Left_Alone_*_Why).
message("RES_Finish",
        "Terminé",
        "Fertig",
        "Terminado",
        "Completato",
        "Voltooid",
        "完成")
message("RES_Stop_Process",
        "Arrêt en cours...",
        "Wird angehalten...",
        "Deteniendo...",
        "Interruzione in corso...",
        "Bezig met stoppen...",
        "正在停止...")
message("RES_Cannot_Analyze",
        "Impossible d'analyser le registre pour le moment ! Veuillez réessayer plus tard.",
        "Die Registry kann jetzt nicht analysiert werden! Bitte versuchen Sie es später erneut.",
        "¡No se puede analizar el registro en este momento! Inténtelo de nuevo más tarde.",
        "Impossibile analizzare il registro ora! Riprovare più tardi.",
        "Het register kan nu niet worden geanalyseerd! Probeer het later opnieuw.",
        "现在无法分析注册表！请稍后重试。")
message("RES_Advice",
        "Le taux de fragmentation de votre registre n'est que de %1. Nous estimons que votre registre n'a pas "
        "besoin d'être compacté pour le moment. Si vous le compactez maintenant, le même taux de fragmentation "
        "risque de réapparaître.",
        "Der Fragmentierungsgrad Ihrer Registry beträgt nur %1. Wir meinen, dass Ihre Registry zurzeit nicht "
        "komprimiert werden muss. Wenn Sie sie jetzt komprimieren, kann derselbe Fragmentierungsgrad wieder "
        "auftreten.",
        "La tasa de fragmentación de su registro es solo del %1. Creemos que ahora no es necesario compactar el "
        "registro. Si decide compactarlo ahora, puede volver a aparecer la misma tasa de fragmentación.",
        "Il tasso di frammentazione del registro è solo del %1. Riteniamo che al momento non sia necessario "
        "compattare il registro. Se si sceglie di compattarlo ora, potrebbe ripresentarsi lo stesso tasso di "
        "frammentazione.",
        "De fragmentatiegraad van uw register is slechts %1. Wij denken dat uw register op dit moment niet "
        "gecomprimeerd hoeft te worden. Als u het register nu comprimeert, kan dezelfde fragmentatiegraad "
        "opnieuw optreden.",
        "您的注册表碎片率仅为 %1。我们建议目前无需压缩注册表。如果现在选择压缩注册表，可能仍会出现相同的碎片率。")
message("RES_Restore_Failed",
        "La création du point de restauration a échoué ! Vérifiez si la restauration du système est désactivée. "
        "Continuer la défragmentation ?",
        "Der Wiederherstellungspunkt konnte nicht erstellt werden! Bitte prüfen Sie, ob die "
        "Systemwiederherstellung ausgeschaltet ist. Trotzdem defragmentieren?",
        "¡No se pudo crear el punto de restauración! Compruebe si Restaurar sistema está desactivado. ¿Continuar "
        "con la desfragmentación?",
        "Creazione del punto di ripristino non riuscita! Verificare se Ripristino configurazione di sistema è "
        "disattivato. Continuare la deframmentazione?",
        "Het maken van het herstelpunt is mislukt! Controleer of Systeemherstel is uitgeschakeld. Doorgaan met "
        "defragmenteren?",
        "创建还原点失败！请检查是否关闭了系统还原。是否继续整理？")
message("RES_Not_Found",
        "est introuvable.",
        "wurde nicht gefunden.",
        "no se encuentra.",
        "non è stato trovato.",
        "kan niet worden gevonden.",
        "未找到。")
message("RES_Not_Copied",
        "non copiée",
        "nicht kopiert",
        "sin copiar",
        "non copiato",
        "geen kopie",
        "未复制")
message("RES_Nothing_Copied",
        "Aucune ruche n'a pu être copiée : il n'y a rien à défragmenter. Varnhold a besoin des droits "
        "d'administrateur et du privilège de sauvegarde pour copier les ruches du registre.",
        "Kein Hive konnte kopiert werden, daher gibt es nichts zu defragmentieren. Varnhold braucht "
        "Administratorrechte und das Sicherungsrecht, um die Hives der Registry zu kopieren.",
        "No se pudo copiar ningún subárbol, así que no hay nada que desfragmentar. Varnhold necesita derechos de "
        "administrador y el privilegio de copia de seguridad para copiar los subárboles del registro.",
        "Non è stato possibile copiare nessun hive, quindi non c'è nulla da deframmentare. Varnhold ha bisogno "
        "dei diritti di amministratore e del privilegio di backup per copiare gli hive del registro.",
        "Er kon geen enkele registercomponent worden gekopieerd, dus er valt niets te defragmenteren. Varnhold "
        "heeft beheerdersrechten en het back-upprivilege nodig om de registercomponenten te kopiëren.",
        "没有任何配置单元能够被复制，因此没有可整理的内容。Varnhold 需要管理员权限和备份特权才能复制注册表配置单元。")
message("RES_Recopy_Caption",
        "Nouvelles copies",
        "Neue Kopien",
        "Copias nuevas",
        "Nuove copie",
        "Nieuwe kopieën",
        "重新复制")
message("RES_Recopy_Label",
        "Copie des ruches. Veuillez patienter.",
        "Hives werden neu kopiert. Bitte warten.",
        "Volviendo a copiar. Espere, por favor.",
        "Copia degli hive in corso. Attendere.",
        "Opnieuw kopiëren. Even geduld.",
        "正在重新复制配置单元，请稍候。")
message("RES_Recheck_Label",
        "Vérification des copies. Veuillez patienter.",
        "Kopien werden geprüft. Bitte warten.",
        "Comprobando las copias. Espere, por favor.",
        "Verifica delle copie in corso. Attendere.",
        "Kopieën controleren. Even geduld.",
        "正在检查副本，请稍候。")
message("RES_Undo_Check_Caption",
        "Annuler la dernière défragmentation",
        "Letzte Defragmentierung rückgängig machen",
        "Deshacer la última desfragmentación",
        "Annulla l'ultima deframmentazione",
        "Laatste defragmentatie ongedaan maken",
        "撤销上次碎片整理")
message("RES_Undo_Check_Label",
        "Vérification des sauvegardes. Veuillez patienter.",
        "Sicherungen werden geprüft. Bitte warten.",
        "Comprobando las copias de seguridad. Espere.",
        "Verifica dei backup in corso. Attendere.",
        "Back-ups controleren. Even geduld.",
        "正在检查备份，请稍候。")
message("RES_Not_Scheduled",
        "Ces ruches ne seront pas remplacées et gardent leurs anciennes sauvegardes :",
        "Diese Hives werden nicht ersetzt und behalten ihre alten Sicherungen:",
        "Estos subárboles no se reemplazarán y conservan sus copias de seguridad anteriores:",
        "Questi hive non verranno sostituiti e mantengono i loro vecchi backup:",
        "Deze registercomponenten worden niet vervangen en houden hun oude back-ups:",
        "以下配置单元不会被替换，并保留其原有备份：")
message("RES_Nothing_Scheduled",
        "Aucune ruche n'a pu être programmée pour le remplacement ; l'ordinateur ne redémarrera pas. Rien n'a "
        "changé :",
        "Für keinen Hive konnte der Austausch eingeplant werden, daher startet der Computer nicht neu. Nichts "
        "wurde geändert:",
        "No se pudo programar el reemplazo de ningún subárbol, así que el equipo no se reiniciará. No se cambió "
        "nada:",
        "Non è stato possibile pianificare la sostituzione di nessun hive, quindi il computer non si riavvia. "
        "Nulla è cambiato:",
        "Voor geen enkele registercomponent kon de vervanging worden gepland, dus de computer start niet opnieuw "
        "op. Er is niets gewijzigd:",
        "没有任何配置单元能够安排替换，因此计算机不会重新启动。未做任何更改：")
message("RES_Swap_Notice",
        "Windows redémarre aussitôt que les ruches ci-dessous ont été copiées à nouveau, vérifiées et "
        "remplacées. Toute modification faite d'ici au redémarrage sera perdue : enregistrez votre travail et "
        "fermez vos programmes d'abord. Cliquez sur OK pour continuer, ou sur Annuler pour arrêter sans rien "
        "changer.",
        "Windows startet sofort neu, sobald die unten genannten Hives erneut kopiert, geprüft und ausgetauscht "
        "sind. Alles, was Sie von jetzt an bis zum Neustart ändern, geht verloren: Speichern Sie zuerst Ihre "
        "Arbeit und schließen Sie Ihre Programme. Klicken Sie auf OK, um fortzufahren, oder auf Abbrechen, um "
        "ohne Änderungen aufzuhören.",
        "Windows se reinicia en cuanto los subárboles de abajo se hayan copiado de nuevo, comprobado e "
        "intercambiado. Todo lo que cambie desde ahora hasta el reinicio se perderá: guarde su trabajo y cierre "
        "sus programas antes. Haga clic en Aceptar para continuar o en Cancelar para detenerse sin cambiar nada.",
        "Windows si riavvia subito dopo che gli hive qui sotto sono stati copiati di nuovo, verificati e "
        "sostituiti. Ogni modifica fatta da ora fino al riavvio va persa: salvare prima il lavoro e chiudere i "
        "programmi. Fare clic su OK per continuare o su Annulla per fermarsi senza modificare nulla.",
        "Windows start meteen opnieuw op zodra de onderstaande registercomponenten opnieuw zijn gekopieerd, "
        "gecontroleerd en vervangen. Alles wat u vanaf nu tot de herstart wijzigt, gaat verloren: sla eerst uw "
        "werk op en sluit uw programma's. Klik op OK om door te gaan of op Annuleren om te stoppen zonder iets "
        "te wijzigen.",
        "下列配置单元重新复制、检查并替换后，Windows 将立即重新启动。从现在到重新启动期间所做的任何更改都将丢失：请先保存您的工作并关闭所有程序。单击“确定”继续，或单击“取消”停止且不做任何更改。")
message("RES_Swap_List",
        "Ces ruches seront remplacées par leurs copies compactées (chacune seulement si sa copie passe la "
        "vérification) :",
        "Diese Hives werden gegen ihre komprimierten Kopien ausgetauscht (jeder nur, wenn seine Kopie die "
        "Prüfung besteht):",
        "Estos subárboles se intercambiarán por sus copias compactadas (cada uno solo si su copia supera la "
        "comprobación):",
        "Questi hive verranno sostituiti dalle loro copie compattate (ciascuno solo se la sua copia supera la "
        "verifica):",
        "Deze registercomponenten worden vervangen door hun gecomprimeerde kopieën (elk alleen als de kopie de "
        "controle doorstaat):",
        "以下配置单元将被替换为其压缩副本（每个仅在其副本通过检查时替换）：")
message("RES_Swaps_Pending",
        "Les ruches d'une défragmentation ou d'une annulation précédente sont remplacées et attendent le "
        "redémarrage. Jusqu'au redémarrage de Windows, toute modification du registre est perdue, et Varnhold ne "
        "peut ni analyser, ni défragmenter, ni annuler. Redémarrer maintenant ?",
        "Hives einer früheren Defragmentierung oder Rücknahme sind ausgetauscht und warten auf den Neustart. Bis "
        "Windows neu startet, geht jede Änderung an der Registry verloren, und Varnhold kann weder analysieren "
        "noch defragmentieren noch rückgängig machen. Jetzt neu starten?",
        "Los subárboles de una desfragmentación o deshacer anterior están intercambiados y esperan el reinicio. "
        "Hasta que Windows se reinicie, se pierde todo cambio del registro, y Varnhold no puede analizar, "
        "desfragmentar ni deshacer. ¿Reiniciar ahora?",
        "Gli hive di una deframmentazione o di un annullamento precedente sono stati sostituiti e attendono il "
        "riavvio. Finché Windows non si riavvia, ogni modifica al registro va persa e Varnhold non può né "
        "analizzare, né deframmentare, né annullare. Riavviare ora?",
        "Registercomponenten van een eerdere defragmentatie of terugzetting zijn vervangen en wachten op de "
        "herstart. Tot Windows opnieuw opstart, gaat elke registerwijziging verloren en kan Varnhold niet "
        "analyseren, defragmenteren of ongedaan maken. Nu opnieuw opstarten?",
        "先前整理或撤销的配置单元已替换，正在等待重新启动。在 Windows 重新启动之前，对注册表的每项更改都将丢失，并且 Varnhold 无法分析、整理或撤销。立即重新启动吗？")
message("RES_Restart_Failed",
        "Windows n'a pas pu être redémarré. Les ruches remplacées attendent le redémarrage, et toute "
        "modification du registre faite d'ici là sera perdue. Enregistrez votre travail et cliquez dès que "
        "possible sur Redémarrer maintenant.",
        "Windows konnte nicht neu gestartet werden. Die ausgetauschten Hives warten auf den Neustart, und jede "
        "bis dahin gemachte Änderung an der Registry geht verloren. Speichern Sie Ihre Arbeit und klicken Sie so "
        "bald wie möglich auf Jetzt neu starten.",
        "No se pudo reiniciar Windows. Los subárboles intercambiados esperan el reinicio, y se perderá todo "
        "cambio del registro hecho hasta entonces. Guarde su trabajo y haga clic en Reiniciar ahora en cuanto "
        "pueda.",
        "Impossibile riavviare Windows. Gli hive sostituiti attendono il riavvio e ogni modifica al registro "
        "fatta fino ad allora andrà persa. Salvare il lavoro e fare clic su Riavvia ora appena possibile.",
        "Windows kon niet opnieuw worden opgestart. De vervangen registercomponenten wachten op de herstart, en "
        "elke registerwijziging tot dan gaat verloren. Sla uw werk op en klik zo snel mogelijk op Nu herstarten.",
        "无法重新启动 Windows。已替换的配置单元正在等待重新启动，在此之前对注册表所做的所有更改都将丢失。请保存您的工作，并尽快单击“立即重新启动”。")
message("RES_Restore_Failed_Undo",
        "La création du point de restauration a échoué ! Vérifiez si la restauration du système est désactivée. "
        "Continuer l'annulation de la dernière défragmentation ?",
        "Der Wiederherstellungspunkt konnte nicht erstellt werden! Bitte prüfen Sie, ob die "
        "Systemwiederherstellung ausgeschaltet ist. Die letzte Defragmentierung trotzdem rückgängig machen?",
        "¡No se pudo crear el punto de restauración! Compruebe si Restaurar sistema está desactivado. ¿Continuar "
        "deshaciendo la última desfragmentación?",
        "Creazione del punto di ripristino non riuscita! Verificare se Ripristino configurazione di sistema è "
        "disattivato. Continuare ad annullare l'ultima deframmentazione?",
        "Het maken van het herstelpunt is mislukt! Controleer of Systeemherstel is uitgeschakeld. Doorgaan met "
        "het ongedaan maken van de laatste defragmentatie?",
        "创建还原点失败！请检查是否关闭了系统还原。是否继续撤销上次整理？")
message("RES_Restore_Reused",
        "Windows n'a pas créé de nouveau point de restauration : il en crée au plus un par jour, et son point "
        "de restauration du %1 couvre cette opération. Varnhold laisse ce point tel quel.",
        "Windows hat keinen neuen Wiederherstellungspunkt erstellt: Es erstellt höchstens einen am Tag, und "
        "sein Wiederherstellungspunkt vom %1 deckt diesen Lauf ab. Varnhold lässt diesen Punkt, wie er ist.",
        "Windows no creó un punto de restauración nuevo: crea como máximo uno al día, y su punto de "
        "restauración del %1 cubre esta operación. Varnhold deja ese punto como está.",
        "Windows non ha creato un nuovo punto di ripristino: ne crea al massimo uno al giorno, e il suo punto "
        "di ripristino del %1 copre questa operazione. Varnhold lascia quel punto com'è.",
        "Windows heeft geen nieuw herstelpunt gemaakt: het maakt er hoogstens één per dag, en zijn herstelpunt "
        "van %1 dekt deze bewerking. Varnhold laat dat punt zoals het is.",
        "Windows 未创建新的还原点：它每天最多创建一个，其 %1 的还原点涵盖此次操作。Varnhold 保留该还原点不变。")
message("RES_Restore_Reused_Earlier",
        "Windows n'a pas créé de nouveau point de restauration : il en crée au plus un par jour, et son point "
        "de restauration créé plus tôt aujourd'hui couvre cette opération. Varnhold laisse ce point tel quel.",
        "Windows hat keinen neuen Wiederherstellungspunkt erstellt: Es erstellt höchstens einen am Tag, und "
        "sein Wiederherstellungspunkt von heute deckt diesen Lauf ab. Varnhold lässt diesen Punkt, wie er ist.",
        "Windows no creó un punto de restauración nuevo: crea como máximo uno al día, y su punto de "
        "restauración de hoy cubre esta operación. Varnhold deja ese punto como está.",
        "Windows non ha creato un nuovo punto di ripristino: ne crea al massimo uno al giorno, e il suo punto "
        "di ripristino di oggi copre questa operazione. Varnhold lascia quel punto com'è.",
        "Windows heeft geen nieuw herstelpunt gemaakt: het maakt er hoogstens één per dag, en zijn herstelpunt "
        "van vandaag dekt deze bewerking. Varnhold laat dat punt zoals het is.",
        "Windows 未创建新的还原点：它每天最多创建一个，其今天早些时候的还原点涵盖此次操作。Varnhold 保留该还原点不变。")
message("RES_Restart_Refused",
        "Windows a refusé de redémarrer.",
        "Windows hat den Neustart abgelehnt.",
        "Windows se negó a reiniciarse.",
        "Windows ha rifiutato di riavviarsi.",
        "Windows weigerde opnieuw op te starten.",
        "Windows 拒绝重新启动。")
message("RES_Restart_Refused_Error",
        "Windows a refusé de redémarrer (erreur %1).",
        "Windows hat den Neustart abgelehnt (Fehler %1).",
        "Windows se negó a reiniciarse (error %1).",
        "Windows ha rifiutato di riavviarsi (errore %1).",
        "Windows weigerde opnieuw op te starten (fout %1).",
        "Windows 拒绝重新启动（错误 %1）。")
message("RES_Restart_Not_Come",
        "Windows a accepté la demande mais n'a pas redémarré.",
        "Windows hat die Anforderung angenommen, aber nicht neu gestartet.",
        "Windows aceptó la solicitud pero no se reinició.",
        "Windows ha accettato la richiesta ma non si è riavviato.",
        "Windows heeft het verzoek aangenomen maar is niet opnieuw opgestart.",
        "Windows 已接受请求，但未重新启动。")
message("RES_Restart_Cancelled",
        "Le redémarrage a été annulé.",
        "Der Neustart wurde abgebrochen.",
        "Se canceló el reinicio.",
        "Il riavvio è stato annullato.",
        "De herstart is geannuleerd.",
        "重新启动已被取消。")
message("RES_Unable_To_Write",
        "Impossible d'écrire dans %1",
        "%1 kann nicht geschrieben werden",
        "No se puede escribir en %1",
        "Impossibile scrivere in %1",
        "Kan niet schrijven naar %1",
        "无法写入 %1")
message("RES_Undo_Confirm",
        "Annuler la dernière défragmentation ? Au prochain démarrage, Windows remet l'ancien contenu de ces "
        "ruches à partir de leurs sauvegardes (.bak) et garde les ruches compactées dans des fichiers .undo :",
        "Letzte Defragmentierung rückgängig machen? Beim nächsten Start setzt Windows den alten Inhalt dieser "
        "Hives aus ihren Sicherungen (.bak) wieder ein und behält die komprimierten Hives als .undo-Dateien:",
        "¿Deshacer la última desfragmentación? En el próximo inicio, Windows restaura el contenido anterior de "
        "estos subárboles desde sus copias de seguridad (.bak) y guarda los subárboles compactados como archivos "
        ".undo:",
        "Annullare l'ultima deframmentazione? Al prossimo avvio Windows ripristina il contenuto precedente di "
        "questi hive dai loro backup (.bak) e conserva gli hive compattati come file .undo:",
        "De laatste defragmentatie ongedaan maken? Bij de volgende start zet Windows de oude inhoud van deze "
        "registercomponenten terug uit hun back-ups (.bak) en bewaart de gecomprimeerde als .undo-bestanden:",
        "要撤销上次整理吗？下次启动时，Windows 将从备份文件 (.bak) 恢复这些配置单元的原有内容，并将压缩后的配置单元保存为 .undo 文件：")
message("RES_Undo_Question",
        "L'ordinateur redémarre ensuite. Continuer ?",
        "Danach startet der Computer neu. Fortfahren?",
        "Después el equipo se reinicia. ¿Continuar?",
        "Poi il computer si riavvia. Continuare?",
        "Daarna start de computer opnieuw op. Doorgaan?",
        "随后计算机将重新启动。是否继续？")
message("RES_Undo_Skipped",
        "Ces ruches restent telles quelles :",
        "Diese Hives bleiben, wie sie sind:",
        "Estos subárboles quedan como están:",
        "Questi hive restano come sono:",
        "Deze registercomponenten blijven zoals ze zijn:",
        "以下配置单元保持不变：")
message("RES_Undo_Not_Loaded",
        "Windows ne liste plus cette ruche avec ce fichier",
        "Windows führt diesen Hive nicht mehr mit dieser Datei",
        "Windows ya no muestra este subárbol con este archivo",
        "Windows non elenca più questo hive con questo file",
        "Windows vermeldt deze registercomponent niet meer met dit bestand",
        "Windows 当前未列出使用此文件的该配置单元")
message("RES_Undo_Not_Swapped_In",
        "sa copie compactée est toujours là : le remplacement n'a pas eu lieu",
        "seine komprimierte Kopie ist noch da, der Austausch fand also nicht statt",
        "su copia compactada sigue ahí, así que el cambio no se produjo",
        "la sua copia compattata è ancora presente, quindi lo scambio non è avvenuto",
        "de gecomprimeerde kopie is er nog, dus de vervanging is niet uitgevoerd",
        "其压缩副本仍然存在，因此替换未生效")
message("RES_Undo_No_Backup",
        "sa sauvegarde est introuvable",
        "seine Sicherung fehlt",
        "falta su copia de seguridad",
        "il suo backup manca",
        "de back-up ontbreekt",
        "其备份文件缺失")
message("RES_Undo_Stale_Backup",
        "sa sauvegarde a été écrite pour la dernière fois plus d'un jour avant la défragmentation : ce n'est pas "
        "celle que cette défragmentation a laissée",
        "seine Sicherung wurde zuletzt mehr als einen Tag vor der Defragmentierung geschrieben, sie stammt also "
        "nicht von dieser Defragmentierung",
        "su copia de seguridad se escribió por última vez más de un día antes de la desfragmentación, así que no "
        "es la que dejó esa desfragmentación",
        "il suo backup è stato scritto l'ultima volta più di un giorno prima della deframmentazione, quindi non "
        "è quello lasciato da quella deframmentazione",
        "de back-up is voor het laatst meer dan een dag vóór de defragmentatie geschreven, dus het is niet die "
        "van die defragmentatie",
        "其备份文件的最后写入时间早于整理一天以上，因此不是那次整理留下的备份")
message("RES_Undo_Loss",
        "La défragmentation à annuler a eu lieu le %1. Toute modification du registre faite depuis est perdue, "
        "et Windows redémarre aussitôt : enregistrez d'abord votre travail.",
        "Die rückgängig zu machende Defragmentierung lief am %1. Jede seither gemachte Änderung an der "
        "Registrierung geht verloren, und Windows startet sofort neu: Speichern Sie zuerst Ihre Arbeit.",
        "La desfragmentación que se deshace se hizo el %1. Se pierde todo cambio del registro hecho desde "
        "entonces, y Windows se reinicia enseguida: guarde antes su trabajo.",
        "La deframmentazione da annullare è stata eseguita il %1. Ogni modifica al registro fatta da allora va "
        "persa e Windows si riavvia subito: salvare prima il lavoro.",
        "De ongedaan te maken defragmentatie liep op %1. Elke registerwijziging sindsdien gaat verloren en "
        "Windows start meteen opnieuw op: sla eerst uw werk op.",
        "要撤销的整理运行于 %1。此后对注册表所做的所有更改都将丢失，并且 Windows 会立即重新启动：请先保存您的工作。")
message("RES_Undo_Nothing",
        "Il n'y a aucune défragmentation à annuler. Il faut une défragmentation appliquée lors d'un redémarrage, "
        "et les sauvegardes (.bak) qu'elle a laissées à côté des fichiers de ruche.",
        "Es gibt keine Defragmentierung, die rückgängig gemacht werden kann. Dazu braucht es eine "
        "Defragmentierung, die bei einem Neustart wirksam wurde, und die Sicherungen (.bak) neben den "
        "Hive-Dateien.",
        "No hay ninguna desfragmentación que deshacer. Hace falta una desfragmentación aplicada en un reinicio y "
        "las copias de seguridad (.bak) que dejó junto a los archivos de los subárboles.",
        "Non c'è nessuna deframmentazione da annullare. Serve una deframmentazione applicata a un riavvio e i "
        "backup (.bak) lasciati accanto ai file degli hive.",
        "Er is geen defragmentatie om ongedaan te maken. Daarvoor is een defragmentatie nodig die bij een "
        "herstart is doorgevoerd, en de back-ups (.bak) die ze naast de bestanden heeft achtergelaten.",
        "没有可撤销的整理。撤销需要一次已在重新启动时生效的整理，以及它在配置单元文件旁留下的备份文件 (.bak)。")
message("RES_Undo_Refused",
        "Windows a refusé de remettre chacune des ruches ; l'ordinateur ne redémarrera pas. Rien n'a changé :",
        "Windows hat jeden Rücktausch abgelehnt, daher startet der Computer nicht neu. Nichts wurde geändert:",
        "Windows rechazó restaurar todos los subárboles, así que el equipo no se reiniciará. No se cambió nada:",
        "Windows ha rifiutato di ripristinare ogni hive, quindi il computer non si riavvia. Nulla è cambiato:",
        "Windows weigerde elke terugzetting, dus de computer start niet opnieuw op. Er is niets gewijzigd:",
        "Windows 拒绝还原所有配置单元，因此计算机不会重新启动。未做任何更改：")
message("RES_Undo_No_Entry",
        "Le journal ne contient aucune défragmentation.",
        "Das Journal enthält keine Defragmentierung.",
        "El diario no contiene ninguna desfragmentación.",
        "Il giornale non contiene alcuna deframmentazione.",
        "Het logboek bevat geen defragmentatie.",
        "日志中没有任何整理记录。")
message("RES_Undo_Damaged",
        "La dernière entrée du journal est illisible.",
        "Der letzte Eintrag des Journals kann nicht gelesen werden.",
        "No se puede leer la última entrada del diario.",
        "L'ultima voce del giornale non è leggibile.",
        "De laatste vermelding in het logboek kan niet worden gelezen.",
        "无法读取日志的最后一条记录。")
message("RES_Undo_Nothing_Scheduled",
        "La dernière défragmentation n'a programmé aucun remplacement.",
        "Die letzte Defragmentierung hat keinen Austausch eingeplant.",
        "La última desfragmentación no programó ningún intercambio.",
        "L'ultima deframmentazione non ha pianificato alcuna sostituzione.",
        "De laatste defragmentatie heeft geen vervanging gepland.",
        "上次整理未安排任何替换。")
message("RES_Undo_Already_Undone",
        "L'annulation de la dernière défragmentation est déjà programmée ou faite.",
        "Die Rücknahme der letzten Defragmentierung ist bereits eingeplant oder erledigt.",
        "Deshacer la última desfragmentación ya está programado o hecho.",
        "L'annullamento dell'ultima deframmentazione è già pianificato o eseguito.",
        "Het ongedaan maken van de laatste defragmentatie is al gepland of uitgevoerd.",
        "上次整理的撤销已安排或已完成。")
message("RES_Undo_Not_Restarted",
        "L'ordinateur n'a pas redémarré depuis la dernière défragmentation : ses remplacements n'ont pas encore "
        "pris effet.",
        "Der Computer wurde seit der letzten Defragmentierung nicht neu gestartet, ihr Austausch ist also noch "
        "nicht wirksam.",
        "El equipo no se ha reiniciado desde la última desfragmentación, así que sus intercambios aún no han "
        "surtido efecto.",
        "Il computer non è stato riavviato dopo l'ultima deframmentazione, quindi le sue sostituzioni non hanno "
        "ancora effetto.",
        "De computer is sinds de laatste defragmentatie niet opnieuw opgestart, dus de vervangingen zijn nog "
        "niet doorgevoerd.",
        "自上次整理以来计算机尚未重新启动，因此其替换尚未生效。")
message("RES_Undo_Nothing_To_Swap_Back",
        "Aucune des ruches remplacées par la dernière défragmentation ne peut être remise :",
        "Keiner der von der letzten Defragmentierung ausgetauschten Hives kann zurückgetauscht werden:",
        "Ninguno de los subárboles que intercambió la última desfragmentación puede restaurarse:",
        "Nessuno degli hive sostituiti dall'ultima deframmentazione può essere ripristinato:",
        "Geen van de registercomponenten die de laatste defragmentatie verving, kan worden teruggezet:",
        "上次整理替换的配置单元均无法还原：")
message("RES_Please_Visit",
        "Rendez-vous sur %1",
        "Bitte besuchen Sie %1",
        "Visite %1",
        "Visitare %1",
        "Ga naar %1",
        "请访问 %1")
message("RES_Left_Alone_Boot",
        "non traitée : configuration de démarrage",
        "ausgelassen: Startkonfiguration",
        "se deja: configuración de arranque",
        "ignorato: configurazione di avvio",
        "overgeslagen: opstartconfiguratie",
        "跳过：启动配置")
message("RES_Left_Alone_Boot_Why",
        "c'est la configuration de démarrage, que le gestionnaire de démarrage lit avant le lancement de Windows",
        "er ist die Startkonfiguration, die der Start-Manager liest, bevor Windows startet",
        "es la configuración de arranque, que el administrador de arranque lee antes de que se inicie Windows",
        "è la configurazione di avvio, che il boot manager legge prima dell'avvio di Windows",
        "het is de opstartconfiguratie, die opstartbeheer leest voordat Windows start",
        "它是启动配置，启动管理器在 Windows 启动前读取它")
message("RES_Left_Alone_Sam",
        "non traitée : base des comptes",
        "ausgelassen: Kontendatenbank",
        "se deja: base de datos de cuentas",
        "ignorato: database degli account",
        "overgeslagen: accountdatabase",
        "跳过：帐户数据库")
message("RES_Left_Alone_Sam_Why",
        "elle contient les comptes locaux et leurs hachages de mots de passe ; les administrateurs ne peuvent "
        "pas tout en lire, sa copie ne peut donc jamais être vérifiée",
        "er enthält die lokalen Konten und ihre Kennwort-Hashes; Administratoren dürfen nicht alles darin lesen, "
        "daher kann seine Kopie nie geprüft werden",
        "contiene las cuentas locales y los hash de sus contraseñas; los administradores no pueden leerlo "
        "entero, así que su copia nunca puede comprobarse",
        "contiene gli account locali e gli hash delle loro password; gli amministratori non possono leggerlo "
        "tutto, quindi la sua copia non può mai essere verificata",
        "hij bevat de lokale accounts en hun wachtwoordhashes; beheerders mogen niet alles ervan lezen, dus de "
        "kopie kan nooit worden gecontroleerd",
        "它保存本地帐户及其密码哈希；管理员无法读取其全部内容，因此其副本永远无法检查")
message("RES_Left_Alone_Security",
        "non traitée : stratégie de sécurité",
        "ausgelassen: Sicherheitsrichtlinie",
        "se deja: directiva de seguridad",
        "ignorato: criteri di sicurezza",
        "overgeslagen: beveiligingsbeleid",
        "跳过：安全策略")
message("RES_Left_Alone_Security_Why",
        "elle contient la stratégie de sécurité et ses secrets ; les administrateurs ne peuvent pas tout en "
        "lire, sa copie ne peut donc jamais être vérifiée",
        "er enthält die Sicherheitsrichtlinie und ihre Geheimnisse; Administratoren dürfen nicht alles darin "
        "lesen, daher kann seine Kopie nie geprüft werden",
        "contiene la directiva de seguridad y sus secretos; los administradores no pueden leerlo entero, así que "
        "su copia nunca puede comprobarse",
        "contiene i criteri di sicurezza e i relativi segreti; gli amministratori non possono leggerlo tutto, "
        "quindi la sua copia non può mai essere verificata",
        "hij bevat het beveiligingsbeleid en de geheimen ervan; beheerders mogen niet alles ervan lezen, dus de "
        "kopie kan nooit worden gecontroleerd",
        "它保存安全策略及其机密；管理员无法读取其全部内容，因此其副本永远无法检查")
message("RES_Left_Alone_Components",
        "non traitée : magasin des composants",
        "ausgelassen: Komponentenspeicher",
        "se deja: almacén de componentes",
        "ignorato: archivio dei componenti",
        "overgeslagen: onderdelenarchief",
        "跳过：组件存储")
message("RES_Left_Alone_Components_Why",
        "la maintenance de Windows la charge et y écrit pendant l'installation des mises à jour",
        "die Windows-Wartung lädt und beschreibt ihn, während sie Updates installiert",
        "el servicio de Windows lo carga y escribe en él mientras instala actualizaciones",
        "la manutenzione di Windows lo carica e vi scrive durante l'installazione degli aggiornamenti",
        "Windows-onderhoud laadt en beschrijft hem tijdens het installeren van updates",
        "Windows 维护服务在安装更新时会加载并写入它")
message("RES_Left_Alone_Drivers",
        "non traitée : magasin des pilotes",
        "ausgelassen: Treiberspeicher",
        "se deja: almacén de controladores",
        "ignorato: archivio dei driver",
        "overgeslagen: stuurprogrammaarchief",
        "跳过：驱动程序存储")
message("RES_Left_Alone_Drivers_Why",
        "la maintenance de Windows la charge et y écrit pendant l'installation des pilotes",
        "die Windows-Wartung lädt und beschreibt ihn, während sie Treiber installiert",
        "el servicio de Windows lo carga y escribe en él mientras instala controladores",
        "la manutenzione di Windows lo carica e vi scrive durante l'installazione dei driver",
        "Windows-onderhoud laadt en beschrijft hem tijdens het installeren van stuurprogramma's",
        "Windows 维护服务在安装驱动程序时会加载并写入它")
message("RES_Left_Alone_Elam",
        "non traitée : pilotes de démarrage anticipé",
        "ausgelassen: Frühstart-Treiber",
        "se deja: controladores de inicio temprano",
        "ignorato: driver ad avvio anticipato",
        "overgeslagen: vroeg gestarte stuurprogramma's",
        "跳过：早期启动驱动程序")
message("RES_Left_Alone_Elam_Why",
        "le chargeur de démarrage la lit avant le lancement de Windows",
        "das Ladeprogramm liest ihn, bevor Windows startet",
        "el cargador de arranque lo lee antes de que se inicie Windows",
        "il caricatore di avvio lo legge prima dell'avvio di Windows",
        "het opstartprogramma leest hem voordat Windows start",
        "启动加载程序在 Windows 启动前读取它")
message("RES_No_Analysis_Copy",
        "elle n'a pas de copie de l'analyse",
        "er hat keine Kopie aus der Analyse",
        "no tiene copia del análisis",
        "non ha una copia dell'analisi",
        "hij heeft geen kopie uit de analyse",
        "它没有分析时生成的副本")
message("RES_Not_Copied_Again",
        "elle n'a pas été copiée à nouveau",
        "er wurde nicht erneut kopiert",
        "no se volvió a copiar",
        "non è stato copiato di nuovo",
        "hij is niet opnieuw gekopieerd",
        "它未被重新复制")
message("RES_Swap_Refused",
        "Windows a refusé de programmer le remplacement (erreur %1)",
        "Windows hat den Austausch abgelehnt (Fehler %1)",
        "Windows se negó a programar el intercambio (error %1)",
        "Windows ha rifiutato di pianificare la sostituzione (errore %1)",
        "Windows weigerde de vervanging te plannen (fout %1)",
        "Windows 拒绝安排替换（错误 %1）")
message("RES_Unsupported_System",
        "Ce logiciel ne prend pas en charge cette version de Windows !",
        "Diese Software unterstützt das aktuelle Windows-System nicht!",
        "¡Este programa no es compatible con el sistema Windows actual!",
        "Questo software non supporta il sistema Windows in uso!",
        "Deze software ondersteunt het huidige Windows-systeem niet!",
        "本软件不支持当前的 Windows 系统！")

message("RES_Undo_Wrong_Backup",
        "sa sauvegarde n'est pas le fichier laissé par cette défragmentation (un autre fichier, ou un fichier "
        "tronqué)",
        "seine Sicherung ist nicht die Datei, die diese Defragmentierung hinterlassen hat (eine andere Datei oder "
        "eine abgeschnittene)",
        "su copia de seguridad no es el archivo que dejó esa desfragmentación (otro archivo, o uno truncado)",
        "il suo backup non è il file lasciato da quella deframmentazione (un altro file, o uno troncato)",
        "de back-up is niet het bestand dat die defragmentatie achterliet (een ander bestand, of een afgekapt "
        "bestand)",
        "其备份不是那次整理留下的文件（另一个文件，或被截断的文件）")
message("RES_Undo_Not_A_Hive",
        "sa sauvegarde ne se charge pas comme une ruche",
        "seine Sicherung lässt sich nicht als Hive laden",
        "su copia de seguridad no se carga como un subárbol",
        "il suo backup non si carica come hive",
        "de back-up laadt niet als registercomponent",
        "其备份无法作为配置单元加载")
message("RES_Undo_Other_Hive",
        "sa sauvegarde contient une autre ruche",
        "seine Sicherung enthält einen anderen Hive",
        "su copia de seguridad contiene otro subárbol",
        "il suo backup contiene un altro hive",
        "de back-up bevat een andere registercomponent",
        "其备份包含的是另一个配置单元")
message("RES_Undo_Not_Together",
        "les ruches système et logiciels ne sont remises qu'ensemble, et l'autre ne peut pas l'être",
        "System- und Software-Hive werden nur gemeinsam zurückgetauscht, und der andere kann es nicht",
        "los subárboles del sistema y de software solo se restauran juntos, y el otro no puede restaurarse",
        "gli hive di sistema e software si ripristinano solo insieme, e l'altro non può esserlo",
        "de systeem- en softwareregistercomponenten gaan alleen samen terug, en de andere kan dat niet",
        "系统和软件配置单元只能一起还原，而另一个无法还原")
message("RES_Undo_Too_Old",
        "Une annulation n'est proposée que 14 jours après une défragmentation : ensuite, Windows a trop changé "
        "de choses que les sauvegardes ne contiennent pas.",
        "Ein Rückgängigmachen wird nur 14 Tage nach einer Defragmentierung angeboten: danach hat Windows zu "
        "viel geändert, was die Sicherungen nicht enthalten.",
        "Deshacer solo se ofrece durante 14 días después de una desfragmentación: después, Windows ha cambiado "
        "demasiadas cosas que las copias de seguridad no contienen.",
        "L'annullamento è offerto solo per 14 giorni dopo una deframmentazione: dopo, Windows ha cambiato troppe "
        "cose che i backup non contengono.",
        "Ongedaan maken wordt alleen 14 dagen na een defragmentatie aangeboden: daarna heeft Windows te veel "
        "gewijzigd dat niet in de back-ups staat.",
        "整理后只在 14 天内提供撤销：此后 Windows 已更改了太多备份中没有的内容。")
message("RES_Undo_Age",
        "la dernière défragmentation date de %1 jours",
        "die letzte Defragmentierung lief vor %1 Tagen",
        "la última desfragmentación se hizo hace %1 días",
        "l'ultima deframmentazione risale a %1 giorni fa",
        "de laatste defragmentatie liep %1 dagen geleden",
        "上次整理运行于 %1 天前")
message("RES_Undo_Machine_Changed",
        "Windows a changé depuis la dernière défragmentation, et les sauvegardes ne correspondent plus à ce "
        "qu'une annulation ne remet pas en place :",
        "Windows hat sich seit der letzten Defragmentierung geändert, und die Sicherungen passen nicht mehr zu "
        "dem, was ein Rückgängigmachen nicht zurücksetzt:",
        "Windows ha cambiado desde la última desfragmentación, y las copias de seguridad ya no encajan con lo "
        "que deshacer no restaura:",
        "Windows è cambiato dall'ultima deframmentazione, e i backup non corrispondono più a ciò che "
        "l'annullamento non ripristina:",
        "Windows is sinds de laatste defragmentatie gewijzigd, en de back-ups passen niet meer bij wat ongedaan "
        "maken niet terugzet:",
        "自上次整理以来 Windows 已发生更改，备份已不再与撤销不会还原的部分相符：")
message("RES_Undo_Build_Changed",
        "Windows a été mis à jour : build %1 alors, %2 maintenant",
        "Windows wurde aktualisiert: Build %1 damals, %2 jetzt",
        "Windows se actualizó: compilación %1 entonces, %2 ahora",
        "Windows è stato aggiornato: build %1 allora, %2 ora",
        "Windows is bijgewerkt: build %1 toen, %2 nu",
        "Windows 已更新：当时版本 %1，现在版本 %2")
message("RES_Undo_Store_Changed",
        "%1 (le magasin des composants ou des pilotes) a changé depuis",
        "%1 (der Komponenten- oder Treiberspeicher) hat sich seither geändert",
        "%1 (el almacén de componentes o de controladores) ha cambiado desde entonces",
        "%1 (l'archivio dei componenti o dei driver) è cambiato da allora",
        "%1 (het onderdelen- of stuurprogrammaarchief) is sindsdien gewijzigd",
        "%1（组件存储或驱动程序存储）此后已更改")
message("RES_Left_Alone_Other",
        "ignorée : chargée par un autre programme",
        "ausgelassen: von einem anderen Programm geladen",
        "omitido: cargado por otro programa",
        "ignorato: caricato da un altro programma",
        "overgeslagen: geladen door een ander programma",
        "跳过：由其他程序加载")
message("RES_Left_Alone_Other_Why",
        "ce n'est pas une des ruches du système : un autre programme l'a chargée, et ce qu'il y écrirait après un "
        "remplacement serait perdu",
        "er gehört nicht zu den Hives des Systems: ein anderes Programm hat ihn geladen, und was dieses Programm "
        "nach einem Austausch hineinschreibt, ginge verloren",
        "no es uno de los subárboles del sistema: otro programa lo cargó, y lo que ese programa escriba en él "
        "después de un intercambio se perdería",
        "non è uno degli hive del sistema: l'ha caricato un altro programma, e ciò che quel programma vi scrive "
        "dopo una sostituzione andrebbe perso",
        "het is geen registercomponent van het systeem zelf: een ander programma heeft het geladen, en wat dat "
        "programma er na een vervanging in schrijft, zou verloren gaan",
        "它不是系统自己的配置单元：它由其他程序加载，替换后该程序写入的内容将会丢失")
message("RES_Defrag_Stopped",
        "Les nouvelles copies ont été arrêtées : aucune ruche n'a été remplacée et Windows ne redémarre pas. Le "
        "registre est tel qu'il était.",
        "Das neue Kopieren wurde angehalten, daher wurde kein Hive ausgetauscht, und Windows startet nicht neu. "
        "Die Registry ist, wie sie war.",
        "Las copias nuevas se detuvieron, así que no se intercambió ningún subárbol y Windows no se reinicia. El "
        "registro está como estaba.",
        "Le nuove copie sono state interrotte, quindi nessun hive è stato sostituito e Windows non si riavvia. "
        "Il registro è com'era.",
        "Het opnieuw kopiëren is gestopt, dus er is geen registercomponent vervangen en Windows start niet "
        "opnieuw op. Het register is zoals het was.",
        "重新复制已停止，因此没有替换任何配置单元，Windows 也不会重新启动。注册表保持原样。")
message("RES_Windows_Servicing",
        "Windows installe des mises à jour ou un programme, ou attend son propre redémarrage pour finir de le "
        "faire. Un remplacement maintenant pourrait perdre les modifications qu'il apporte. Redémarrez Windows, "
        "ou attendez qu'il ait fini, puis réessayez. Rien n'a changé. Trouvé :",
        "Windows installiert Updates oder ein Programm oder wartet auf den eigenen Neustart, um das "
        "abzuschließen. Ein Austausch jetzt könnte die Änderungen kosten, die es dabei macht. Starten Sie Windows "
        "neu oder warten Sie, bis es fertig ist, und versuchen Sie es dann erneut. Nichts wurde geändert. "
        "Gefunden:",
        "Windows está instalando actualizaciones o un programa, o espera su propio reinicio para terminar de "
        "hacerlo. Un intercambio ahora podría perder los cambios que hace. Reinicie Windows, o espere a que "
        "termine, y vuelva a intentarlo. No se cambió nada. Encontrado:",
        "Windows sta installando aggiornamenti o un programma, oppure attende il proprio riavvio per finire. "
        "Una sostituzione ora potrebbe far perdere le modifiche che apporta. Riavviare Windows, o attendere che "
        "abbia finito, quindi riprovare. Nulla è cambiato. Trovato:",
        "Windows installeert updates of een programma, of wacht op zijn eigen herstart om dat af te ronden. Een "
        "vervanging nu kan de wijzigingen kosten die het daarbij maakt. Start Windows opnieuw op, of wacht tot "
        "het klaar is, en probeer het dan opnieuw. Er is niets gewijzigd. Gevonden:",
        "Windows 正在安装更新或程序，或正在等待自身重新启动以完成安装。现在替换可能会丢失它所做的更改。请重新启动 Windows，或等待其完成后再试。未做任何更改。发现：")
message("RES_Not_Recorded",
        "Les remplacements n'ont pas pu être enregistrés avant d'être faits : aucune ruche n'a été remplacée et "
        "Windows ne redémarre pas :",
        "Der Austausch konnte nicht vorab aufgezeichnet werden, daher wurde kein Hive ausgetauscht, und Windows "
        "startet nicht neu:",
        "Los intercambios no se pudieron registrar antes de hacerse, así que no se intercambió ningún subárbol y "
        "Windows no se reinicia:",
        "Le sostituzioni non hanno potuto essere registrate prima di essere fatte, quindi nessun hive è stato "
        "sostituito e Windows non si riavvia:",
        "De vervangingen konden niet vooraf worden vastgelegd, dus er is geen registercomponent vervangen en "
        "Windows start niet opnieuw op:",
        "替换操作无法在执行前记录，因此没有替换任何配置单元，Windows 也不会重新启动：")
message("RES_Restart_Cancelled_Retry",
        "Le redémarrage a été annulé. Les ruches remplacées l'attendent toujours, et toute modification du "
        "registre d'ici là sera perdue. Varnhold demande encore une fois à Windows de redémarrer, cette fois sans "
        "fermer les programmes de force : enregistrez votre travail et laissez le redémarrage se faire.",
        "Der Neustart wurde abgebrochen. Die ausgetauschten Hives warten weiter darauf, und jede bis dahin "
        "gemachte Änderung an der Registry geht verloren. Varnhold bittet Windows noch einmal um den Neustart, "
        "diesmal ohne Programme zwangsweise zu schließen: Speichern Sie Ihre Arbeit und lassen Sie den Neustart "
        "zu.",
        "El reinicio se canceló. Los subárboles intercambiados lo siguen esperando, y todo cambio del registro "
        "hasta entonces se perderá. Varnhold pide a Windows una vez más que se reinicie, esta vez sin cerrar "
        "programas a la fuerza: guarde su trabajo y deje que el reinicio continúe.",
        "Il riavvio è stato annullato. Gli hive sostituiti lo attendono ancora, e ogni modifica al registro fino "
        "ad allora andrà persa. Varnhold chiede a Windows ancora una volta di riavviarsi, questa volta senza "
        "chiudere i programmi forzatamente: salvare il lavoro e lasciare proseguire il riavvio.",
        "De herstart is geannuleerd. De vervangen registercomponenten wachten er nog op, en elke wijziging in "
        "het register tot dan gaat verloren. Varnhold vraagt Windows nog één keer om opnieuw op te starten, dit "
        "keer zonder programma's geforceerd te sluiten: sla uw werk op en laat de herstart doorgaan.",
        "重新启动已被取消。已替换的配置单元仍在等待重新启动，在此之前对注册表所做的任何更改都将丢失。Varnhold 将再次请求 Windows 重新启动，这次不会强制关闭程序：请保存您的工作并让重新启动继续。")
message("RES_Servicing_Cbs",
        "la maintenance des composants attend un redémarrage pour finir d'installer des mises à jour",
        "die Komponentenwartung wartet auf einen Neustart, um Updates fertig zu installieren",
        "el mantenimiento de componentes espera un reinicio para terminar de instalar actualizaciones",
        "la manutenzione dei componenti attende un riavvio per finire di installare aggiornamenti",
        "het onderhoud van onderdelen wacht op een herstart om updates af te ronden",
        "组件服务正在等待重新启动以完成更新安装")
message("RES_Servicing_Update",
        "Windows Update attend un redémarrage pour finir d'installer des mises à jour",
        "Windows Update wartet auf einen Neustart, um Updates fertig zu installieren",
        "Windows Update espera un reinicio para terminar de instalar actualizaciones",
        "Windows Update attende un riavvio per finire di installare aggiornamenti",
        "Windows Update wacht op een herstart om updates af te ronden",
        "Windows 更新正在等待重新启动以完成更新安装")
message("RES_Servicing_Renames",
        "des fichiers attendent d'être remplacés au redémarrage (renommages en attente)",
        "Dateien warten darauf, beim Neustart ersetzt zu werden (ausstehende Umbenennungen)",
        "hay archivos que esperan ser reemplazados en el reinicio (cambios de nombre pendientes)",
        "alcuni file attendono di essere sostituiti al riavvio (ridenominazioni in sospeso)",
        "bestanden wachten om bij de herstart te worden vervangen (wachtende hernoemingen)",
        "有文件正在等待在重新启动时被替换（挂起的文件重命名）")
message("RES_Servicing_Installer",
        "Windows Installer est en train d'installer un programme",
        "Windows Installer installiert gerade ein Programm",
        "Windows Installer está instalando un programa",
        "Windows Installer sta installando un programma",
        "Windows Installer is een programma aan het installeren",
        "Windows Installer 正在安装程序")
message("RES_Servicing_Modules",
        "le programme d'installation des modules Windows (TrustedInstaller) est en cours d'exécution",
        "der Windows Modules Installer (TrustedInstaller) läuft",
        "el instalador de módulos de Windows (TrustedInstaller) se está ejecutando",
        "il programma di installazione dei moduli di Windows (TrustedInstaller) è in esecuzione",
        "het installatieprogramma voor Windows-modules (TrustedInstaller) wordt uitgevoerd",
        "Windows 模块安装程序 (TrustedInstaller) 正在运行")
message("RES_Swaps_Waiting_Found",
        "Trouvé : les remplacements de l'exécution du %1 (%2) attendent le redémarrage.",
        "Gefunden: Der Austausch des Laufs vom %1 (%2) wartet auf den Neustart.",
        "Encontrado: los intercambios de la ejecución del %1 (%2) esperan el reinicio.",
        "Trovato: le sostituzioni dell'esecuzione del %1 (%2) attendono il riavvio.",
        "Gevonden: de vervangingen van de uitvoering van %1 (%2) wachten op de herstart.",
        "发现：%1 的运行 (%2) 所做的替换正在等待重新启动。")
message("RES_Hive_File",
        "Fichier : %1",
        "Datei: %1",
        "Archivo: %1",
        "File dell'hive: %1",
        "Bestand: %1",
        "文件：%1")
message("RES_Hive_Reorganized",
        "Windows l'a compactée lui-même %1, le %2 : de %3 à %4.",
        "Windows hat ihn selbst %1 komprimiert, am %2: von %3 auf %4.",
        "Windows lo compactó por sí mismo %1, el %2: de %3 a %4.",
        "Windows l'ha compattato da sé %1, il %2: da %3 a %4.",
        "Windows heeft het zelf %1 gecomprimeerd, op %2: van %3 naar %4.",
        "Windows 已于 %1（%2）自行压缩：从 %3 压缩到 %4。")
message("RES_Reorganized_Advice",
        "Windows a compacté %1 lui-même %2.",
        "Windows hat %1 selbst %2 komprimiert.",
        "Windows compactó %1 por sí mismo %2.",
        "Windows ha compattato %1 da sé %2.",
        "Windows heeft %1 zelf %2 gecomprimeerd.",
        "Windows 已于 %2 自行压缩了%1。")
message("RES_These_Hives",
        "ces ruches",
        "diese Hives",
        "estos subárboles",
        "questi hive",
        "deze registercomponenten",
        "这些配置单元")
message("RES_Some_Of_These_Hives",
        "%1 de ces ruches",
        "%1 dieser Hives",
        "%1 de estos subárboles",
        "%1 di questi hive",
        "%1 van deze registercomponenten",
        "其中 %1 个配置单元")
message("RES_Today",
        "aujourd'hui",
        "heute",
        "hoy",
        "oggi",
        "vandaag",
        "今天")
message("RES_One_Day_Ago",
        "il y a 1 jour",
        "vor 1 Tag",
        "hace 1 día",
        "1 giorno fa",
        "1 dag geleden",
        "1 天前")
message("RES_Days_Ago",
        "il y a %1 jours",
        "vor %1 Tagen",
        "hace %1 días",
        "%1 giorni fa",
        "%1 dagen geleden",
        "%1 天前")
message("RES_Check_No_Root",
        "son nom ne désigne aucune racine du registre",
        "sein Name nennt keinen Stammschlüssel der Registry",
        "su nombre no indica ninguna raíz del registro",
        "il suo nome non indica alcuna radice del registro",
        "de naam verwijst naar geen hoofdsleutel van het register",
        "其名称未指向任何注册表根键")
message("RES_Check_No_Copy",
        "la copie est introuvable",
        "die Kopie ist nicht zu finden",
        "no se encuentra la copia",
        "la copia non si trova",
        "de kopie is niet te vinden",
        "找不到副本")
message("RES_Check_Copy_Not_A_Hive",
        "la copie ne se charge pas comme une ruche (erreur %1)",
        "die Kopie lässt sich nicht als Hive laden (Fehler %1)",
        "la copia no se carga como un subárbol (error %1)",
        "la copia non si carica come hive (errore %1)",
        "de kopie laadt niet als registercomponent (fout %1)",
        "副本无法作为配置单元加载（错误 %1）")
message("RES_Check_Unreadable",
        "la copie ne correspond pas au registre : les clés n'ont pas pu être lues entièrement",
        "die Kopie stimmt nicht mit der Registry überein: die Schlüssel konnten nicht vollständig gelesen "
        "werden",
        "la copia no coincide con el registro: las claves no se pudieron leer completas",
        "la copia non corrisponde al registro: le chiavi non hanno potuto essere lette per intero",
        "de kopie komt niet overeen met het register: de sleutels konden niet volledig worden gelezen",
        "副本与注册表不一致：无法完整读取这些键")
message("RES_Check_Root_Not_Opened",
        "la copie ne correspond pas au registre : la clé racine de la ruche ne peut pas être ouverte des "
        "deux côtés",
        "die Kopie stimmt nicht mit der Registry überein: der Stammschlüssel des Hives lässt sich nicht in "
        "beiden öffnen",
        "la copia no coincide con el registro: la clave raíz del subárbol no se puede abrir en ambos",
        "la copia non corrisponde al registro: la chiave radice dell'hive non si può aprire in entrambi",
        "de kopie komt niet overeen met het register: de hoofdsleutel van de registercomponent kan niet in "
        "beide worden geopend",
        "副本与注册表不一致：无法在两者中打开配置单元的根键")
message("RES_Check_Key_Not_Opened",
        "la copie ne correspond pas au registre : la clé %1 ne peut pas être ouverte des deux côtés",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 lässt sich nicht in beiden öffnen",
        "la copia no coincide con el registro: la clave %1 no se puede abrir en ambos",
        "la copia non corrisponde al registro: la chiave %1 non si può aprire in entrambi",
        "de kopie komt niet overeen met het register: sleutel %1 kan niet in beide worden geopend",
        "副本与注册表不一致：无法在两者中打开键 %1")
message("RES_Check_Root_Not_Read",
        "la copie ne correspond pas au registre : la clé racine de la ruche ne peut pas être lue des deux "
        "côtés",
        "die Kopie stimmt nicht mit der Registry überein: der Stammschlüssel des Hives lässt sich nicht in "
        "beiden lesen",
        "la copia no coincide con el registro: la clave raíz del subárbol no se puede leer en ambos",
        "la copia non corrisponde al registro: la chiave radice dell'hive non si può leggere in entrambi",
        "de kopie komt niet overeen met het register: de hoofdsleutel van de registercomponent kan niet in "
        "beide worden gelezen",
        "副本与注册表不一致：无法在两者中读取配置单元的根键")
message("RES_Check_Key_Not_Read",
        "la copie ne correspond pas au registre : la clé %1 ne peut pas être lue des deux côtés",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 lässt sich nicht in beiden lesen",
        "la copia no coincide con el registro: la clave %1 no se puede leer en ambos",
        "la copia non corrisponde al registro: la chiave %1 non si può leggere in entrambi",
        "de kopie komt niet overeen met het register: sleutel %1 kan niet in beide worden gelezen",
        "副本与注册表不一致：无法在两者中读取键 %1")
message("RES_Check_Root_Values",
        "la copie ne correspond pas au registre : la clé racine de la ruche a %1 valeurs, sa copie %2",
        "die Kopie stimmt nicht mit der Registry überein: der Stammschlüssel des Hives hat %1 Werte, seine "
        "Kopie %2",
        "la copia no coincide con el registro: la clave raíz del subárbol tiene %1 valores, su copia %2",
        "la copia non corrisponde al registro: la chiave radice dell'hive ha %1 valori, la sua copia %2",
        "de kopie komt niet overeen met het register: de hoofdsleutel van de registercomponent heeft %1 "
        "waarden, de kopie %2",
        "副本与注册表不一致：配置单元的根键有 %1 个值，其副本有 %2 个")
message("RES_Check_Key_Values",
        "la copie ne correspond pas au registre : la clé %1 a %2 valeurs, sa copie %3",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 hat %2 Werte, seine Kopie %3",
        "la copia no coincide con el registro: la clave %1 tiene %2 valores, su copia %3",
        "la copia non corrisponde al registro: la chiave %1 ha %2 valori, la sua copia %3",
        "de kopie komt niet overeen met het register: sleutel %1 heeft %2 waarden, de kopie %3",
        "副本与注册表不一致：键 %1 有 %2 个值，其副本有 %3 个")
message("RES_Check_Key_Missing",
        "la copie ne correspond pas au registre : la clé %1 manque dans la copie",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 fehlt in der Kopie",
        "la copia no coincide con el registro: falta la clave %1 en la copia",
        "la copia non corrisponde al registro: la chiave %1 manca nella copia",
        "de kopie komt niet overeen met het register: sleutel %1 ontbreekt in de kopie",
        "副本与注册表不一致：副本中缺少键 %1")
message("RES_Check_Key_Missing_Unknown",
        "la copie ne correspond pas au registre : la clé %1 manque dans la copie (le système ne peut pas "
        "dire si elle est volatile)",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 fehlt in der Kopie (das System "
        "kann nicht sagen, ob er flüchtig ist)",
        "la copia no coincide con el registro: falta la clave %1 en la copia (el sistema no puede saber si "
        "es volátil)",
        "la copia non corrisponde al registro: la chiave %1 manca nella copia (il sistema non sa dire se è "
        "volatile)",
        "de kopie komt niet overeen met het register: sleutel %1 ontbreekt in de kopie (het systeem kan niet "
        "zeggen of hij vluchtig is)",
        "副本与注册表不一致：副本中缺少键 %1（系统无法判断它是否为易失键）")
message("RES_Check_Key_Copy_Only",
        "la copie ne correspond pas au registre : la clé %1 n'existe que dans la copie",
        "die Kopie stimmt nicht mit der Registry überein: der Schlüssel %1 ist nur in der Kopie vorhanden",
        "la copia no coincide con el registro: la clave %1 solo está en la copia",
        "la copia non corrisponde al registro: la chiave %1 è presente solo nella copia",
        "de kopie komt niet overeen met het register: sleutel %1 staat alleen in de kopie",
        "副本与注册表不一致：键 %1 仅存在于副本中")
message("RES_Copy_Changed",
        "sa copie a changé après la vérification",
        "seine Kopie hat sich nach der Prüfung geändert",
        "su copia cambió después de la comprobación",
        "la sua copia è cambiata dopo la verifica",
        "de kopie is na de controle gewijzigd",
        "其副本在检查后发生了变化")
message("RES_Held_Servicing",
        "Windows est en cours de maintenance : %1",
        "Windows führt gerade Wartungsarbeiten durch: %1",
        "Windows está realizando su propio mantenimiento: %1",
        "Windows sta eseguendo la propria manutenzione: %1",
        "Windows voert eigen onderhoud uit: %1",
        "Windows 正在进行自身维护：%1")
message("RES_Held_Not_Recorded",
        "le journal n'a pas pu être écrit, et aucun remplacement n'est fait sans y être enregistré",
        "das Journal konnte nicht geschrieben werden, und ohne Eintrag dort wird nichts ausgetauscht",
        "no se pudo escribir el diario, y no se hace ningún intercambio sin su registro",
        "non è stato possibile scrivere il giornale, e nessuna sostituzione avviene senza la sua "
        "registrazione",
        "het logboek kon niet worden geschreven, en zonder vastlegging daarin wordt niets vervangen",
        "无法写入日志，未经记录不会进行任何替换")
message("RES_Held_Not_Marked",
        "la clé de registre du programme qui signale les remplacements en attente du redémarrage n'a pas pu "
        "être écrite",
        "der eigene Registry-Schlüssel des Programms, der auf den Neustart wartende Austausche markiert, "
        "konnte nicht geschrieben werden",
        "no se pudo escribir la clave de registro propia del programa que marca los intercambios que esperan "
        "el reinicio",
        "non è stato possibile scrivere la chiave di registro del programma che segnala le sostituzioni in "
        "attesa del riavvio",
        "de eigen registersleutel van het programma die op de herstart wachtende vervangingen markeert, kon "
        "niet worden geschreven",
        "无法写入程序自身用于标记等待重新启动的替换的注册表键")
message("RES_Copies_Stopped",
        "les nouvelles copies ont été arrêtées",
        "das neue Kopieren wurde angehalten",
        "las copias nuevas se detuvieron",
        "le nuove copie sono state interrotte",
        "het opnieuw kopiëren is gestopt",
        "重新复制已停止")
message("RES_Servicing_Cbs_Restarting",
        "la maintenance des composants est au milieu du redémarrage qui termine l'installation des mises à jour",
        "die Komponentenwartung steckt mitten in dem Neustart, der die Installation von Updates abschließt",
        "el mantenimiento de componentes está en medio del reinicio que termina de instalar las actualizaciones",
        "la manutenzione dei componenti è nel mezzo del riavvio che completa l'installazione degli aggiornamenti",
        "het onderhoud van onderdelen zit midden in de herstart die het installeren van updates afrondt",
        "组件服务正处于完成更新安装的重新启动之中")
message("RES_Servicing_Cbs_Packages",
        "la maintenance des composants a des mises à jour en attente d'installation",
        "die Komponentenwartung hat Updates, die auf ihre Installation warten",
        "el mantenimiento de componentes tiene actualizaciones pendientes de instalar",
        "la manutenzione dei componenti ha aggiornamenti in attesa di installazione",
        "het onderhoud van onderdelen heeft updates die op installatie wachten",
        "组件服务有等待安装的更新")
message("RES_Servicing_Pending_Xml",
        "la maintenance des composants a laissé du travail pour le prochain démarrage (pending.xml dans le "
        "dossier WinSxS)",
        "die Komponentenwartung hat Arbeit für den nächsten Start übrig (pending.xml im Ordner WinSxS)",
        "el mantenimiento de componentes ha dejado trabajo para el próximo inicio (pending.xml en la carpeta "
        "WinSxS)",
        "la manutenzione dei componenti ha lasciato lavoro per il prossimo avvio (pending.xml nella cartella "
        "WinSxS)",
        "het onderhoud van onderdelen heeft werk voor de volgende start klaargezet (pending.xml in de map "
        "WinSxS)",
        "组件服务留有下次启动时要完成的工作 (WinSxS 文件夹中的 pending.xml)")
message("RES_Servicing_Setup",
        "le programme d'installation de Windows est en cours d'exécution",
        "Windows Setup läuft",
        "el programa de instalación de Windows se está ejecutando",
        "il programma di installazione di Windows è in esecuzione",
        "Windows Setup wordt uitgevoerd",
        "Windows 安装程序正在运行")
message("RES_Servicing_Oobe",
        "Windows termine encore son premier démarrage (OOBE)",
        "Windows schließt seinen ersten Start noch ab (OOBE)",
        "Windows todavía está terminando su primer inicio (OOBE)",
        "Windows sta ancora completando il suo primo avvio (OOBE)",
        "Windows rondt zijn eerste start nog af (OOBE)",
        "Windows 仍在完成首次启动 (OOBE)")
message("RES_Servicing_Setup_Type",
        "le programme d'installation de Windows attend de s'exécuter au prochain démarrage",
        "Windows Setup wartet darauf, beim nächsten Start zu laufen",
        "el programa de instalación de Windows espera ejecutarse en el próximo inicio",
        "il programma di installazione di Windows attende di essere eseguito al prossimo avvio",
        "Windows Setup wacht om bij de volgende start te worden uitgevoerd",
        "Windows 安装程序等待在下次启动时运行")
message("RES_Servicing_Installer_Incomplete",
        "Windows Installer n'a pas terminé une installation qu'il a commencée",
        "Windows Installer hat eine begonnene Installation nicht abgeschlossen",
        "Windows Installer no ha terminado una instalación que empezó",
        "Windows Installer non ha completato un'installazione che ha iniziato",
        "Windows Installer heeft een begonnen installatie niet afgerond",
        "Windows Installer 有一项已开始的安装尚未完成")
message("RES_Servicing_Renames2",
        "des fichiers attendent d'être remplacés au redémarrage (renommages en attente, seconde liste)",
        "Dateien warten darauf, beim Neustart ersetzt zu werden (ausstehende Umbenennungen, zweite Liste)",
        "hay archivos que esperan ser reemplazados en el reinicio (cambios de nombre pendientes, segunda lista)",
        "alcuni file attendono di essere sostituiti al riavvio (ridenominazioni in sospeso, seconda lista)",
        "bestanden wachten om bij de herstart te worden vervangen (openstaande hernoemingen, tweede lijst)",
        "有文件等待在重新启动时被替换 (挂起的文件重命名, 第二个列表)")
message("RES_Held_No_Shutdown",
        "Windows ne permet pas à ce compte de le redémarrer (le privilège d'arrêt n'est pas détenu), et aucun "
        "remplacement n'est fait sans le redémarrage qui doit le suivre",
        "Windows lässt dieses Konto keinen Neustart auslösen (das Recht zum Herunterfahren fehlt), und kein "
        "Austausch wird ohne den Neustart gemacht, der ihm folgen muss",
        "Windows no permite que esta cuenta lo reinicie (no tiene el privilegio de apagado), y no se hace "
        "ningún intercambio sin el reinicio que debe seguirlo",
        "Windows non consente a questo account di riavviarlo (manca il privilegio di arresto), e nessuna "
        "sostituzione viene fatta senza il riavvio che deve seguirla",
        "Windows laat dit account hem niet herstarten (het recht om af te sluiten ontbreekt), en geen "
        "vervanging wordt gedaan zonder de herstart die erop moet volgen",
        "Windows 不允许此帐户重新启动它 (未持有关机特权), 没有随后的重新启动就不进行任何替换")

def check_entries():
    """Refuses a table with a doubled key or a text that would break a line."""
    seen = set()
    for section, key, texts in ENTRIES:
        if (section, key) in seen:
            sys.exit(f"{section}/{key} appears twice")
        seen.add((section, key))
        for language, value in texts.items():
            if "\r" in value or "\n" in value or value != value.strip():
                sys.exit(f"{section}/{key} in {language}: no line breaks or outer blanks")
            if section == "ResourceString" and places(value) != places(texts["English"]):
                sys.exit(f"{key} in {language}: the places {places(value)} differ from the English")
    for key in MESSAGES:
        if ("ResourceString", key) not in seen and key not in DELIBERATELY_ENGLISH:
            sys.exit(f"{key} of res/messages.h has no translations here: add message({key!r}, ...)")


def file_text(language):
    lines = [f"; Varnhold language file: {language}. Made by make_language_files.py, edit the table there."]
    section = None
    for entry_section, key, texts in ENTRIES:
        if entry_section != section:
            section = entry_section
            lines += ["", f"[{section}]"]
        lines.append(f"{key}={texts[language]}")
    return "\r\n".join(lines) + "\r\n"


def main():
    check_entries()
    # The files are written beside this script unless another folder is named.
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    for language, (codec, _) in LANGUAGES.items():
        data = file_text(language).encode(codec)  # strict: every character must exist there
        with open(os.path.join(folder, f"DLan_{language}.ini"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
