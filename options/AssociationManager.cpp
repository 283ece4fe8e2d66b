// SPDX-License-Identifier: MIT
#include "AssociationManager.h"

#include "ProfileFile.h"
#include "Translations.h"

#include <QCoreApplication>

#include <stdexcept>
#include <vector>

namespace {

const std::string kSection = kAssocSection;

// The framework's range-check error, also used for an extension that no file
// name or glob could carry.
class ERangeError : public std::runtime_error {
public:
    ERangeError() : std::runtime_error("範囲チェックエラー") { }
};

struct BackupKeys {
    std::string Name, Com, Icon;
};

BackupKeys KeysOf(const std::string& ext)
{
    return {ext + "Name", ext + "Com", ext + "Icon"};
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    return QString::fromStdString(text.substr(text.size() - suffix.size()))
               .compare(QString::fromStdString(suffix), Qt::CaseInsensitive) == 0;
}

bool ContainsIgnoringCase(const std::vector<std::string>& keys, const std::string& key)
{
    for (const std::string& k : keys) {
        if (QString::fromStdString(k).compare(QString::fromStdString(key), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A backup written by this program: all three keys, a MIME type and a list of
// desktop ids. Anything else (a hand edit, a section copied from the Windows
// program with its ProgIDs) must not reach mimeapps.list.
bool ReadBackup(const ProfileFile& ini, const std::vector<std::string>& keys, const std::string& ext, AssocInfo& info)
{
    const BackupKeys names = KeysOf(ext);
    if (!ContainsIgnoringCase(keys, names.Name) || !ContainsIgnoringCase(keys, names.Com) ||
        !ContainsIgnoringCase(keys, names.Icon))
        return false;
    info.Name = QString::fromStdString(ini.ReadString(kSection, names.Name, ""));
    info.Com = QString::fromStdString(ini.ReadString(kSection, names.Com, ""));
    info.Icon = QString::fromStdString(ini.ReadString(kSection, names.Icon, ""));
    return IsMimeTypeName(info.Name) && IsDesktopIdList(info.Com);
}

// The backup goes only after the restore was written, so a failed restore
// keeps it. A failure to delete is silent: the keys simply stay.
void ForgetBackup(ProfileFile& ini, const std::string& ext)
{
    const BackupKeys names = KeysOf(ext);
    try {
        ProfileFile::Batch batch(ini);
        ini.DeleteKey(kSection, names.Name);
        ini.DeleteKey(kSection, names.Com);
        ini.DeleteKey(kSection, names.Icon);
        batch.Commit();
    } catch (const EIniFileException&) {
    }
}

QString SkippedMessage(const QStringList& keys)
{
    return AppText::tr("次の関連づけ情報は不正なので，復元せずに残しました：\n") + keys.join(QStringLiteral("\n"));
}

}   // namespace

QString NormaliseExtension(const QString& text)
{
    QString ext = text.toLower();
    if (!ext.isEmpty() && !ext.startsWith(u'.'))
        ext.prepend(u'.');
    return ext;
}

AssociationManager::AssociationManager(AssociationStore store, std::string optionFilePath, Dialogs dialogs,
                                       QWidget* parent)
    : m_store(std::move(store)),
      m_optionFilePath(std::move(optionFilePath)),
      m_dialogs(std::move(dialogs)),
      m_parent(parent)
{
}

AssociationManager AssociationManager::ForThisProgram(const Dialogs& dialogs, QWidget* parent,
                                                      const std::string& optionFilePath)
{
    return AssociationManager(AssociationStore(QCoreApplication::applicationFilePath(), XdgPaths::FromEnvironment()),
                              optionFilePath, dialogs, parent);
}

void AssociationManager::Message(const QString& text) const
{
    m_dialogs.Message(m_parent, QString(), text);
}

void AssociationManager::ShowWarnings()
{
    for (const QString& warning : m_store.TakeWarnings())
        Message(warning);
}

void AssociationManager::ChangeKanren(const QString& extText, int actionIndex)
{
    try {
        if (extText.isEmpty())
            throw ERangeError();
        const QString ext = NormaliseExtension(extText);
        if (!IsUsableExtension(ext))
            throw ERangeError();
        switch (actionIndex) {
        case 0: MakeDefault(ext); break;
        case 1: AddOpenWith(ext); break;
        case 2: Undo(ext); break;
        default: return;
        }
        ShowWarnings();
    } catch (const std::exception& error) {
        m_store.TakeWarnings();
        ShowHandlerError(m_dialogs, m_parent, error);
    }
}

void AssociationManager::MakeDefault(const QString& ext)
{
    ProfileFile ini(m_optionFilePath);
    const BackupKeys names = KeysOf(ext.toStdString());
    if (ini.ReadString(kSection, names.Name, "").empty()) {
        AssocInfo info;
        if (m_store.ReadAssociation(ext, info) && info.Name != QLatin1String(kOwnMimeType)) {
            // One commit for the three keys: a half-written group would break
            // the grouping RestoreAll reads.
            ProfileFile::Batch batch(ini);
            ini.WriteString(kSection, names.Name, info.Name.toStdString());
            ini.WriteString(kSection, names.Com, "\"" + info.Com.toStdString() + "\"");
            ini.WriteString(kSection, names.Icon, info.Icon.toStdString());
            batch.Commit();
        }
    }
    if (m_store.RegisterOpenCommand(ext) == AssociationStore::Registration::New)
        Message(AppText::tr("%1の関連づけを新規に設定しました").arg(ext));
    else
        Message(AppText::tr("%1の関連づけを変更しました").arg(ext));
}

void AssociationManager::AddOpenWith(const QString& ext)
{
    if (m_store.AddOpenWithVerb(ext))
        Message(AppText::tr("%1に「Tracelyで開く」を追加しました").arg(ext));
    else
        Message(AppText::tr("%1は関連づけ情報が存在しないので，「Tracelyで開く」を追加できません").arg(ext));
}

void AssociationManager::Undo(const QString& ext)
{
    ProfileFile ini(m_optionFilePath);
    const std::string extKey = ext.toStdString();
    if (ini.ReadString(kSection, KeysOf(extKey).Name, "").empty()) {
        // Without a backup the extension was either new to the desktop (made
        // ours by action 0) or only given the extra entry (action 1).
        const bool removedVerb = m_store.RemoveOpenWithVerb(ext);
        const bool released = m_store.ReleaseOwnExtension(ext);
        if (removedVerb || released)
            Message(AppText::tr("%1の関連づけを消去しました").arg(ext));
        else
            Message(AppText::tr("%1の関連づけは見つかりませんでした").arg(ext));
        return;
    }
    m_store.RemoveOpenWithVerb(ext);
    AssocInfo info;
    if (!ReadBackup(ini, ini.ReadSectionKeys(kSection), extKey, info)) {
        const BackupKeys names = KeysOf(extKey);
        QStringList present;
        for (const std::string& key : {names.Name, names.Com, names.Icon}) {
            if (ContainsIgnoringCase(ini.ReadSectionKeys(kSection), key))
                present << QString::fromStdString(key);
        }
        Message(SkippedMessage(present));
        return;
    }
    m_store.RestoreOpenCommand(ext, info);
    ForgetBackup(ini, extKey);
    Message(AppText::tr("%1の関連づけを復元しました").arg(ext));
}

void AssociationManager::RestoreAll()
{
    try {
        if (!m_dialogs.ConfirmOkCancel(m_parent, QString(), AppText::tr("全ての関連づけ情報を復元します")))
            return;
        ProfileFile ini(m_optionFilePath);
        const std::vector<std::string> keys = ini.ReadSectionKeys(kSection);
        std::vector<std::string> restored;
        for (const std::string& key : keys) {
            if (!EndsWithIgnoringCase(key, "Name"))
                continue;
            const std::string ext = key.substr(0, key.size() - 4);
            AssocInfo info;
            const QString extText = QString::fromStdString(ext).toLower();
            if (!IsUsableExtension(extText) || !ReadBackup(ini, keys, ext, info))
                continue;
            m_store.RemoveOpenWithVerb(extText);
            m_store.RestoreOpenCommand(extText, info);
            ForgetBackup(ini, ext);
            const BackupKeys names = KeysOf(ext);
            restored.insert(restored.end(), {names.Name, names.Com, names.Icon});
        }
        // Whatever was not part of a restored group stays for the user to see.
        QStringList skipped;
        for (const std::string& key : keys) {
            if (!ContainsIgnoringCase(restored, key))
                skipped << QString::fromStdString(key);
        }
        if (skipped.isEmpty())
            Message(AppText::tr("全ての関連づけを復元しました"));
        else
            Message(AppText::tr("関連づけを復元しました。\n") + SkippedMessage(skipped));
    } catch (const std::exception& error) {
        ShowHandlerError(m_dialogs, m_parent, error);
    }
}
