<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>GroupHeader</name>
    <message numerus="yes">
        <source>%1, %n items, collapsed</source>
        <extracomment>A repository group&apos;s header read aloud: the repository, its number of threads, folded</extracomment>
        <translation>
            <numerusform>%1, %n item, collapsed</numerusform>
            <numerusform>%1, %n items, collapsed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %n items, expanded</source>
        <extracomment>A repository group&apos;s header read aloud: the repository, its number of threads, unfolded</extracomment>
        <translation>
            <numerusform>%1, %n item, expanded</numerusform>
            <numerusform>%1, %n items, expanded</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NotificationsStore</name>
    <message numerus="yes">
        <source>%n new notifications</source>
        <extracomment>Body of the alert for two or more new threads</extracomment>
        <translation>
            <numerusform>%n new notification</numerusform>
            <numerusform>%n new notifications</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message numerus="yes">
        <source>Show Notifications (%n)</source>
        <translation>
            <numerusform>Show Notifications (%n)</numerusform>
            <numerusform>Show Notifications (%n)</numerusform>
        </translation>
    </message>
</context>
</TS>
