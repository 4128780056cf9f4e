#!/usr/bin/python3
"""Writes Varnhold's language files DLan_<Language>.ini from the one table below.

Translators edit this file only, in UTF-8; the program reads the generated
files with the platform's ANSI profile reader, so each file is written in the
ANSI code page of its language (Windows-1252, or GBK for Chinese) with CRLF
line endings.

    /usr/bin/python3 lang/make_language_files.py

The four labels that show the analysis figures (lCurrentRegistrySize,
lNewRegistrySize, lSizeReduction, lCompactPercent) are deliberately absent:
a value for them would overwrite the figures of an analysis whenever the
language is changed afterwards.
"""

import os
import sys

# Language name (as in the file name and the menu item) -> code page.
LANGUAGES = {
    "English": "cp1252",
    "French": "cp1252",
    "German": "cp1252",
    "Spanish": "cp1252",
    "Italian": "cp1252",
    "Dutch": "cp1252",
    "Chinese": "gbk",
}

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
text(M, "bHomepage", "Ho&mepage", "Site &web", "Home&page", "Sitio &web", "Ho&me page", "&Website", "主页(&M)")
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
# Follows a file's path: "<path> can not be found."
text("ResourceString", "RES_Not_Found", "can not be found.", "est introuvable.", "wurde nicht gefunden.",
     "no se encuentra.", "non è stato trovato.", "kan niet worden gevonden.", "未找到。")

# The undo's messages: each is one line of a message box, followed by a list
# of hives. No length limit, but keep them to a sentence or two.
RS = "ResourceString"
text(RS, "RES_Undo_Confirm",
     "Undo the last defragmentation? At the next start Windows puts the old contents of these hives back from "
     "their backups (.bak), and keeps the compacted hives as .undo files:",
     "Annuler la dernière défragmentation ? Au prochain démarrage, Windows remet l'ancien contenu de ces ruches "
     "à partir de leurs sauvegardes (.bak) et garde les ruches compactées dans des fichiers .undo :",
     "Letzte Defragmentierung rückgängig machen? Beim nächsten Start setzt Windows den alten Inhalt dieser Hives "
     "aus ihren Sicherungen (.bak) wieder ein und behält die komprimierten Hives als .undo-Dateien:",
     "¿Deshacer la última desfragmentación? En el próximo inicio, Windows restaura el contenido anterior de estos "
     "subárboles desde sus copias de seguridad (.bak) y guarda los subárboles compactados como archivos .undo:",
     "Annullare l'ultima deframmentazione? Al prossimo avvio Windows ripristina il contenuto precedente di questi "
     "hive dai loro backup (.bak) e conserva gli hive compattati come file .undo:",
     "De laatste defragmentatie ongedaan maken? Bij de volgende start zet Windows de oude inhoud van deze "
     "registercomponenten terug uit hun back-ups (.bak) en bewaart de gecomprimeerde als .undo-bestanden:",
     "要撤销上次整理吗？下次启动时，Windows 将从备份文件 (.bak) 恢复这些配置单元的原有内容，"
     "并将压缩后的配置单元保存为 .undo 文件：")
text(RS, "RES_Undo_Question", "The computer then restarts. Go on?",
     "L'ordinateur redémarre ensuite. Continuer ?", "Danach startet der Computer neu. Fortfahren?",
     "Después el equipo se reinicia. ¿Continuar?", "Poi il computer si riavvia. Continuare?",
     "Daarna start de computer opnieuw op. Doorgaan?", "随后计算机将重新启动。是否继续？")
text(RS, "RES_Undo_Skipped", "These hives stay as they are:", "Ces ruches restent telles quelles :",
     "Diese Hives bleiben, wie sie sind:", "Estos subárboles quedan como están:",
     "Questi hive restano come sono:", "Deze registercomponenten blijven zoals ze zijn:",
     "以下配置单元保持不变：")
text(RS, "RES_Undo_Not_Loaded", "Windows does not list this hive with this file now",
     "Windows ne liste plus cette ruche avec ce fichier", "Windows führt diesen Hive nicht mehr mit dieser Datei",
     "Windows ya no muestra este subárbol con este archivo", "Windows non elenca più questo hive con questo file",
     "Windows vermeldt deze registercomponent niet meer met dit bestand",
     "Windows 当前未列出使用此文件的该配置单元")
text(RS, "RES_Undo_Not_Swapped_In", "its compacted copy is still there, so the swap did not take effect",
     "sa copie compactée est toujours là : le remplacement n'a pas eu lieu",
     "seine komprimierte Kopie ist noch da, der Austausch fand also nicht statt",
     "su copia compactada sigue ahí, así que el cambio no se produjo",
     "la sua copia compattata è ancora presente, quindi lo scambio non è avvenuto",
     "de gecomprimeerde kopie is er nog, dus de vervanging is niet uitgevoerd",
     "其压缩副本仍然存在，因此替换未生效")
text(RS, "RES_Undo_No_Backup", "its backup is missing", "sa sauvegarde est introuvable",
     "seine Sicherung fehlt", "falta su copia de seguridad", "il suo backup manca", "de back-up ontbreekt",
     "其备份文件缺失")
text(RS, "RES_Undo_Stale_Backup",
     "its backup was last written more than a day before the defragmentation, so it is not the one that "
     "defragmentation left",
     "sa sauvegarde a été écrite pour la dernière fois plus d'un jour avant la défragmentation : ce n'est pas "
     "celle que cette défragmentation a laissée",
     "seine Sicherung wurde zuletzt mehr als einen Tag vor der Defragmentierung geschrieben, sie stammt also "
     "nicht von dieser Defragmentierung",
     "su copia de seguridad se escribió por última vez más de un día antes de la desfragmentación, así que no es "
     "la que dejó esa desfragmentación",
     "il suo backup è stato scritto l'ultima volta più di un giorno prima della deframmentazione, quindi non è "
     "quello lasciato da quella deframmentazione",
     "de back-up is voor het laatst meer dan een dag vóór de defragmentatie geschreven, dus het is niet die van "
     "die defragmentatie",
     "其备份文件的最后写入时间早于整理一天以上，因此不是那次整理留下的备份")
text(RS, "RES_Undo_Wrong_Backup",
     "its backup is not the file that defragmentation left (another file, or one cut short)",
     "sa sauvegarde n'est pas le fichier laissé par cette défragmentation (un autre fichier, ou un fichier tronqué)",
     "seine Sicherung ist nicht die Datei, die diese Defragmentierung hinterlassen hat (eine andere Datei oder eine "
     "abgeschnittene)",
     "su copia de seguridad no es el archivo que dejó esa desfragmentación (otro archivo, o uno truncado)",
     "il suo backup non è il file lasciato da quella deframmentazione (un altro file, o uno troncato)",
     "de back-up is niet het bestand dat die defragmentatie achterliet (een ander bestand, of een afgekapt bestand)",
     "其备份不是那次整理留下的文件（另一个文件，或被截断的文件）")
text(RS, "RES_Undo_Not_A_Hive", "its backup does not load as a hive",
     "sa sauvegarde ne se charge pas comme une ruche", "seine Sicherung lässt sich nicht als Struktur laden",
     "su copia de seguridad no se carga como un subárbol", "il suo backup non si carica come hive",
     "de back-up laadt niet als hive", "其备份无法作为配置单元加载")
text(RS, "RES_Undo_Loss",
     "The defragmentation to undo ran on %s. Every registry change made since then is lost, and Windows restarts "
     "at once: save your work first.",
     "La défragmentation à annuler a eu lieu le %s. Toute modification du registre faite depuis est perdue, et "
     "Windows redémarre aussitôt : enregistrez d'abord votre travail.",
     "Die rückgängig zu machende Defragmentierung lief am %s. Jede seither gemachte Änderung an der "
     "Registrierung geht verloren, und Windows startet sofort neu: Speichern Sie zuerst Ihre Arbeit.",
     "La desfragmentación que se deshace se hizo el %s. Se pierde todo cambio del registro hecho desde entonces, "
     "y Windows se reinicia enseguida: guarde antes su trabajo.",
     "La deframmentazione da annullare è stata eseguita il %s. Ogni modifica al registro fatta da allora va "
     "persa e Windows si riavvia subito: salvare prima il lavoro.",
     "De ongedaan te maken defragmentatie liep op %s. Elke registerwijziging sindsdien gaat verloren en Windows "
     "start meteen opnieuw op: sla eerst uw werk op.",
     "要撤销的整理运行于 %s。此后对注册表所做的所有更改都将丢失，并且 Windows 会立即重新启动：请先保存您的工作。")
text(RS, "RES_Undo_Nothing",
     "There is no defragmentation to undo. An undo needs a defragmentation whose swaps took effect at a restart, "
     "and the backups (.bak) it left beside the hive files.",
     "Il n'y a aucune défragmentation à annuler. Il faut une défragmentation appliquée lors d'un redémarrage, "
     "et les sauvegardes (.bak) qu'elle a laissées à côté des fichiers de ruche.",
     "Es gibt keine Defragmentierung, die rückgängig gemacht werden kann. Dazu braucht es eine Defragmentierung, "
     "die bei einem Neustart wirksam wurde, und die Sicherungen (.bak) neben den Hive-Dateien.",
     "No hay ninguna desfragmentación que deshacer. Hace falta una desfragmentación aplicada en un reinicio y "
     "las copias de seguridad (.bak) que dejó junto a los archivos de los subárboles.",
     "Non c'è nessuna deframmentazione da annullare. Serve una deframmentazione applicata a un riavvio e i "
     "backup (.bak) lasciati accanto ai file degli hive.",
     "Er is geen defragmentatie om ongedaan te maken. Daarvoor is een defragmentatie nodig die bij een herstart "
     "is doorgevoerd, en de back-ups (.bak) die ze naast de bestanden heeft achtergelaten.",
     "没有可撤销的整理。撤销需要一次已在重新启动时生效的整理，以及它在配置单元文件旁留下的备份文件 (.bak)。")
text(RS, "RES_Undo_Refused",
     "Windows refused to swap back any hive, so the computer will not restart. Nothing was changed:",
     "Windows a refusé de remettre chacune des ruches ; l'ordinateur ne redémarrera pas. Rien n'a changé :",
     "Windows hat jeden Rücktausch abgelehnt, daher startet der Computer nicht neu. Nichts wurde geändert:",
     "Windows rechazó restaurar todos los subárboles, así que el equipo no se reiniciará. No se cambió nada:",
     "Windows ha rifiutato di ripristinare ogni hive, quindi il computer non si riavvia. Nulla è cambiato:",
     "Windows weigerde elke terugzetting, dus de computer start niet opnieuw op. Er is niets gewijzigd:",
     "Windows 拒绝还原所有配置单元，因此计算机不会重新启动。未做任何更改：")


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
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for language, codepage in LANGUAGES.items():
        data = file_text(language).encode(codepage)  # strict: every character must exist there
        with open(os.path.join(folder, f"DLan_{language}.ini"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
