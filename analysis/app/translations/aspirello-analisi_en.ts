<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>LogReader</name>
    <message numerus="yes">
        <source>%1 holds no valid readings (%n bad lines)</source>
        <translation>
            <numerusform>%1 holds no valid readings (%n bad line)</numerusform>
            <numerusform>%1 holds no valid readings (%n bad lines)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message numerus="yes">
        <source>%n bad lines skipped</source>
        <translation>
            <numerusform>%n bad line skipped</numerusform>
            <numerusform>%n bad lines skipped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n beyond ±%1 kPa, which no sensor reads</source>
        <translation>
            <numerusform>%n beyond ±%1 kPa, which no sensor reads</numerusform>
            <numerusform>%n beyond ±%1 kPa, which no sensor reads</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not a number (nan or inf)</source>
        <translation>
            <numerusform>%n not a number (nan or inf)</numerusform>
            <numerusform>%n not numbers (nan or inf)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n values left out: %1</source>
        <translation>
            <numerusform>%n value left out: %1</numerusform>
            <numerusform>%n values left out: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SyncAnalysis</name>
    <message numerus="yes">
        <source>%n readings</source>
        <translation>
            <numerusform>%n reading</numerusform>
            <numerusform>%n readings</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TextOutput</name>
    <message numerus="yes">
        <source>%n stretches within the band, %1 of the session; the longest %2, from reading %3</source>
        <translation>
            <numerusform>%n stretch within the band, %1 of the session; the longest %2, from reading %3</numerusform>
            <numerusform>%n stretches within the band, %1 of the session; the longest %2, from reading %3</numerusform>
        </translation>
    </message>
</context>
</TS>
