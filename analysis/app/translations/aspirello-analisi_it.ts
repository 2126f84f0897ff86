<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AnalysisWindow</name>
    <message>
        <source>Aspirello Analisi</source>
        <translation>Aspirello Analisi</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Strumenti</translation>
    </message>
    <message>
        <source>Open logs…</source>
        <translation>Apri log…</translation>
    </message>
    <message>
        <source>Export report…</source>
        <translation>Esporta rapporto…</translation>
    </message>
    <message>
        <source>Calibrate sensors from a log…</source>
        <translation>Calibra i sensori da un log…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analisi</translation>
    </message>
    <message>
        <source>Log:</source>
        <translation>Log:</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unità:</translation>
    </message>
    <message>
        <source>Cylinder %1</source>
        <translation>Cilindro %1</translation>
    </message>
    <message>
        <source>Reference:</source>
        <translation>Riferimento:</translation>
    </message>
    <message>
        <source>Running averages</source>
        <translation>Medie mobili</translation>
    </message>
    <message>
        <source>Raw readings</source>
        <translation>Letture grezze</translation>
    </message>
    <message>
        <source>Compare:</source>
        <translation>Confronta:</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>Tolleranza:</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>non noto</translation>
    </message>
    <message>
        <source>The poll period the log was recorded with. When it is known, the graphs and stretches are in seconds; otherwise in readings.</source>
        <translation>Il periodo di interrogazione con cui è stato registrato il log. Se è noto, grafici e tratti sono in secondi; altrimenti in letture.</translation>
    </message>
    <message>
        <source>Poll period:</source>
        <translation>Periodo di lettura:</translation>
    </message>
    <message>
        <source>Skip bad lines</source>
        <translation>Salta le righe errate</translation>
    </message>
    <message>
        <source>Leave out lines that are not eight numbers and count them, instead of refusing the log at the first one.</source>
        <translation>Tralascia e conta le righe che non sono otto numeri, invece di rifiutare il log alla prima.</translation>
    </message>
    <message>
        <source>Apply the sensor calibration</source>
        <translation>Applica la calibrazione dei sensori</translation>
    </message>
    <message>
        <source>Drag across a graph to zoom in, use the wheel to zoom, the middle button or Shift to move sideways, the right button to zoom out and a double click to see the whole session.</source>
        <translation>Trascina sul grafico per ingrandire, usa la rotellina per lo zoom, il tasto centrale o Maiusc per scorrere di lato, il tasto destro per ridurre e un doppio clic per vedere tutta la sessione.</translation>
    </message>
    <message>
        <source>Open a log saved by Aspirello, or drop it here.</source>
        <translation>Apri un log salvato da Aspirello, o trascinalo qui.</translation>
    </message>
    <message>
        <source>Light: readings · dark: running averages</source>
        <translation>Chiaro: letture · scuro: medie mobili</translation>
    </message>
    <message>
        <source>Pressures</source>
        <translation>Pressioni</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Sincronia</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimo</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Massimo</translation>
    </message>
    <message>
        <source>Pulsation (std. dev.)</source>
        <translation>Pulsazione (dev. std.)</translation>
    </message>
    <message>
        <source>Only two logs are compared at a time (before and after); the others were left out.</source>
        <translation>Si confrontano solo due log alla volta (prima e dopo); gli altri sono stati tralasciati.</translation>
    </message>
    <message>
        <source>Before: %1</source>
        <translation>Prima: %1</translation>
    </message>
    <message>
        <source>After: %1</source>
        <translation>Dopo: %1</translation>
    </message>
    <message>
        <source>Differences from cylinder %1, tolerance ±%2</source>
        <translation>Differenze dal cilindro %1, tolleranza ±%2</translation>
    </message>
    <message>
        <source>Cylinder %1 (reference)</source>
        <translation>Cilindro %1 (riferimento)</translation>
    </message>
    <message>
        <source>No calibration stored. Record a log with all four sensors on the same vacuum source and choose “Calibrate sensors from a log…”.</source>
        <translation>Nessuna calibrazione salvata. Registra un log con tutti e quattro i sensori sulla stessa fonte di depressione e scegli “Calibra i sensori da un log…”.</translation>
    </message>
    <message>
        <source>Calibration of %1 (%2); offsets %3.</source>
        <translation>Calibrazione del %1 (%2); scostamenti %3.</translation>
    </message>
    <message>
        <source>Open one log, or two to compare before and after</source>
        <translation>Apri un log, o due per confrontare prima e dopo</translation>
    </message>
    <message>
        <source>Aspirello logs (*.txt);;All files (*)</source>
        <translation>Log di Aspirello (*.txt);;Tutti i file (*)</translation>
    </message>
    <message>
        <source>%1: a report is written as .pdf, .png or .svg.</source>
        <translation>%1: un rapporto si scrive come .pdf, .png o .svg.</translation>
    </message>
    <message>
        <source>Open a log before exporting a report.</source>
        <translation>Apri un log prima di esportare un rapporto.</translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation>Rapporto scritto in %1</translation>
    </message>
    <message>
        <source>Export report</source>
        <translation>Esporta rapporto</translation>
    </message>
    <message>
        <source>PDF document (*.pdf);;PNG image (*.png);;SVG drawing (*.svg)</source>
        <translation>Documento PDF (*.pdf);;Immagine PNG (*.png);;Disegno SVG (*.svg)</translation>
    </message>
    <message>
        <source>A log recorded with all four sensors on the same vacuum source</source>
        <translation>Un log registrato con tutti e quattro i sensori sulla stessa fonte di depressione</translation>
    </message>
    <message>
        <source>Calibration refused: %1</source>
        <translation>Calibrazione rifiutata: %1</translation>
    </message>
    <message>
        <source>Difference at the end</source>
        <translation>Differenza alla fine</translation>
    </message>
    <message>
        <source>No calibration is stored, so none is applied.</source>
        <translation>Nessuna calibrazione salvata: non ne viene applicata nessuna.</translation>
    </message>
    <message>
        <source>The stored calibration is unusable and is not applied. Record a log with all four sensors on the same vacuum source and choose “Calibrate sensors from a log…”.</source>
        <translation>La calibrazione salvata è inutilizzabile e non viene applicata. Registra un log con tutti e quattro i sensori sulla stessa fonte di depressione e scegli “Calibra i sensori da un log…”.</translation>
    </message>
    <message>
        <source>Connect board…</source>
        <translation>Collega scheda…</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>The calibration log holds %1 complete readings; at least %2 are needed.</source>
        <translation>Il log di calibrazione contiene %1 letture complete; ne servono almeno %2.</translation>
    </message>
    <message>
        <source>Sensor %1 reads %2 away from the mean of the four; more than %3 cannot come from one vacuum source.</source>
        <translation>Il sensore %1 si scosta di %2 dalla media dei quattro; più di %3 non può venire da una sola fonte di depressione.</translation>
    </message>
    <message>
        <source>Sensor %1 does not follow the others (it wanders by %2, more than %3): the four sensors were not on one vacuum source.</source>
        <translation>Il sensore %1 non segue gli altri (oscilla di %2, più di %3): i quattro sensori non erano su una sola fonte di depressione.</translation>
    </message>
    <message>
        <source>Calibration applied (made %1 from %2).</source>
        <translation>Calibrazione applicata (fatta il %1 da %2).</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>impossibile creare la cartella %1</translation>
    </message>
    <message>
        <source>The four sensors do not show the same pulses at the same moments (their common pulsation is %1, less than %2). A log of a running engine&apos;s four intakes, or of a source without pulses, cannot calibrate them: connect all four sensors to one intake of the running engine and record the calibration log again.</source>
        <translation>I quattro sensori non mostrano gli stessi impulsi negli stessi istanti (la loro pulsazione comune è %1, meno di %2). Un log delle quattro aspirazioni di un motore in moto, o di una fonte senza impulsi, non può calibrarli: collega tutti e quattro i sensori a una sola aspirazione del motore in moto e registra di nuovo il log di calibrazione.</translation>
    </message>
    <message>
        <source>Sensor %1 does not follow the others&apos; pulses: it does not see the same vacuum at the same moments. Connect all four sensors to one intake of the running engine and record the calibration log again.</source>
        <translation>Il sensore %1 non segue gli impulsi degli altri: non vede la stessa depressione negli stessi istanti. Collega tutti e quattro i sensori a una sola aspirazione del motore in moto e registra di nuovo il log di calibrazione.</translation>
    </message>
    <message>
        <source>Its date is not valid or lies in the future.</source>
        <translation>La sua data non è valida o è nel futuro.</translation>
    </message>
    <message>
        <source>It is not a JSON object.</source>
        <translation>Non è un oggetto JSON.</translation>
    </message>
    <message>
        <source>Its format is unknown.</source>
        <translation>Il suo formato è sconosciuto.</translation>
    </message>
    <message>
        <source>Its reading count is not valid.</source>
        <translation>Il suo numero di letture non è valido.</translation>
    </message>
    <message>
        <source>Its offsets or noise are not four numbers.</source>
        <translation>I suoi scostamenti o rumori non sono quattro numeri.</translation>
    </message>
    <message>
        <source>Make a new one from a log recorded with all four sensors on one intake (“Calibrate sensors from a log…”, or --calibrate LOG).</source>
        <translation>Creane una nuova da un log registrato con tutti e quattro i sensori su una sola aspirazione (“Calibra i sensori da un log…”, o --calibrate LOG).</translation>
    </message>
    <message>
        <source>The stored calibration %1 cannot be read: %2. %3</source>
        <translation>La calibrazione salvata %1 non si può leggere: %2. %3</translation>
    </message>
    <message>
        <source>The stored calibration %1 is not usable, so it is not applied: %2 %3</source>
        <translation>La calibrazione salvata %1 non è utilizzabile e quindi non viene applicata: %2 %3</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 cannot be combined with another of --report, --summary, --csv, --calibrate</source>
        <translation>%1 non si può combinare con un altro tra --report, --summary, --csv, --calibrate</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 richiede un valore</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 non accetta valori</translation>
    </message>
    <message>
        <source>--report needs a file ending in .pdf, .png or .svg, not &quot;%1&quot;</source>
        <translation>--report richiede un file che termina in .pdf, .png o .svg, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown unit &quot;%1&quot; (kpa, hpa, mbar, mmhg, cmhg, inhg)</source>
        <translation>unità sconosciuta &quot;%1&quot; (kpa, hpa, mbar, mmhg, cmhg, inhg)</translation>
    </message>
    <message>
        <source>--reference needs a cylinder from 1 to 4, not &quot;%1&quot;</source>
        <translation>--reference richiede un cilindro da 1 a 4, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--tolerance needs a positive number of kPa, not &quot;%1&quot;</source>
        <translation>--tolerance richiede un numero positivo di kPa, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--skip-bad-lines and --stop-on-bad-line exclude each other</source>
        <translation>--skip-bad-lines e --stop-on-bad-line si escludono a vicenda</translation>
    </message>
    <message>
        <source>--calibration needs &quot;use&quot; or &quot;none&quot;, not &quot;%1&quot;</source>
        <translation>--calibration richiede &quot;use&quot; o &quot;none&quot;, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown option %1 (see --help)</source>
        <translation>opzione sconosciuta %1 (vedi --help)</translation>
    </message>
    <message>
        <source>at most two logs can be opened (before and after)</source>
        <translation>si possono aprire al massimo due log (prima e dopo)</translation>
    </message>
    <message>
        <source>no log given</source>
        <translation>nessun log indicato</translation>
    </message>
    <message>
        <source>at most two logs (before and after), not %1</source>
        <translation>al massimo due log (prima e dopo), non %1</translation>
    </message>
    <message>
        <source>--calibrate takes exactly one log</source>
        <translation>--calibrate richiede esattamente un log</translation>
    </message>
    <message>
        <source>--calibrate cannot use a stored calibration</source>
        <translation>--calibrate non può usare una calibrazione salvata</translation>
    </message>
    <message>
        <source>--period needs a poll period from %1 to %2 milliseconds, not &quot;%3&quot;</source>
        <translation>--period richiede un periodo di lettura da %1 a %2 millisecondi, non &quot;%3&quot;</translation>
    </message>
    <message>
        <source>Usage: aspirello-analisi [OPTIONS] [LOG [LOG2]]
Reads the measurement logs Aspirello saves and shows the four pressures over time,
per-cylinder statistics and a verdict on the carburettors&apos; synchronisation.
Without --report, --summary, --csv or --calibrate it opens its window.

  --report OUT.pdf|OUT.png|OUT.svg  write the graph, statistics and verdict
                                    without a window (two logs: before/after)
  --summary                 print the statistics and the verdict as text
  --csv                     print them as CSV
  --calibrate LOG           compute a sensor calibration from a log recorded with
                            all four sensors on one vacuum source, and store it
  --calibration use|none    apply the stored calibration (default: none)
  --unit kpa|hpa|mbar|mmhg|cmhg|inhg   unit of every number (default: kpa)
  --reference 1..4          reference cylinder (default: 1)
  --tolerance KPA           tolerance band in kPa (default: 1.0)
  --period MS               poll period in milliseconds (1 to 10000): durations
                            in seconds
  --skip-bad-lines          skip malformed lines, counting them
  --stop-on-bad-line        refuse a log with a malformed line (default)
  --help, -h                this text

The verdict says whether all four cylinders end within the tolerance of the
reference cylinder; the pairs compare the mean of cylinders 1+2 with the mean of
3+4, for engines whose carburettors are linked in pairs. --summary and --csv
write numbers with the locale&apos;s decimal separator; where that is a comma, CSV
fields are separated by semicolons.

Exit codes: %1 done, %2 bad option, %3 missing file, %4 unreadable log,
%5 calibration refused, missing or unusable, %6 output not written (also standard output), %7 no display for the window.
</source>
        <translation>Uso: aspirello-analisi [OPZIONI] [LOG [LOG2]]
Legge i log di misura salvati da Aspirello e mostra le quattro pressioni nel tempo,
le statistiche per cilindro e un esito sulla sincronizzazione dei carburatori.
Senza --report, --summary, --csv o --calibrate apre la sua finestra.

  --report OUT.pdf|OUT.png|OUT.svg  scrive grafico, statistiche ed esito
                                    senza finestra (due log: prima/dopo)
  --summary                 stampa statistiche ed esito come testo
  --csv                     li stampa come CSV
  --calibrate LOG           calcola una calibrazione dei sensori da un log registrato
                            con tutti e quattro i sensori su una sola fonte di
                            depressione, e la salva
  --calibration use|none    applica la calibrazione salvata (predefinito: none)
  --unit kpa|hpa|mbar|mmhg|cmhg|inhg   unità di ogni numero (predefinita: kpa)
  --reference 1..4          cilindro di riferimento (predefinito: 1)
  --tolerance KPA           banda di tolleranza in kPa (predefinita: 1.0)
  --period MS               periodo di lettura in millisecondi (da 1 a 10000):
                            durate in secondi
  --skip-bad-lines          salta le righe malformate, contandole
  --stop-on-bad-line        rifiuta un log con una riga malformata (predefinito)
  --help, -h                questo testo

L&apos;esito dice se alla fine tutti e quattro i cilindri sono entro la tolleranza dal
cilindro di riferimento; le coppie confrontano la media dei cilindri 1+2 con la media
di 3+4, per i motori con i carburatori collegati a coppie. --summary e --csv scrivono
i numeri con il separatore decimale della lingua; dove è la virgola, i campi CSV sono
separati da punti e virgola.

Codici di uscita: %1 fatto, %2 opzione errata, %3 file mancante, %4 log illeggibile,
%5 calibrazione rifiutata, mancante o inutilizzabile, %6 uscita non scritta (anche lo standard output), %7 nessuno schermo per la finestra.
</translation>
    </message>
    <message>
        <source>--live needs the board&apos;s serial port</source>
        <translation>--live richiede la porta seriale della scheda</translation>
    </message>
    <message>
        <source>--for needs a positive number of seconds, not &quot;%1&quot;</source>
        <translation>--for richiede un numero positivo di secondi, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--compare needs reference, 1-2, 3-4, pairs or linkage, not &quot;%1&quot;</source>
        <translation>--compare richiede reference, 1-2, 3-4, pairs o linkage, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--cycle needs mean or minimum, not &quot;%1&quot;</source>
        <translation>--cycle richiede mean o minimum, non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--damping needs a time constant from %1 to %2 seconds, not &quot;%3&quot;</source>
        <translation>--damping richiede una costante di tempo da %1 a %2 secondi, non &quot;%3&quot;</translation>
    </message>
    <message>
        <source>--for goes with --live</source>
        <translation>--for va con --live</translation>
    </message>
    <message>
        <source>--live reads the board: it takes no log</source>
        <translation>--live legge la scheda: non accetta log</translation>
    </message>
    <message>
        <source>--calibrate reads a log, not the board</source>
        <translation>--calibrate legge un log, non la scheda</translation>
    </message>
    <message>
        <source>--live with --summary, --csv or --report needs --for SECONDS</source>
        <translation>--live con --summary, --csv o --report richiede --for SECONDI</translation>
    </message>
    <message>
        <source>--period with --live is the poll period: %1 to %2 ms</source>
        <translation>--period con --live è il periodo di lettura: da %1 a %2 ms</translation>
    </message>
    <message>
        <source>
Live, on the board itself:
  --live PORT               poll the board on PORT (ttyUSB0, /dev/ttyACM0, ...);
                            alone it opens the live window on it
  --for SECONDS             with --summary, --csv or --report: record that long,
                            then analyse what was recorded
  --period MS               the poll period, %1 to %2 ms (default: %3)
  --compare reference|1-2|3-4|pairs|linkage   what the live verdict compares
                            (default: each cylinder against the reference)
  --cycle mean|minimum      per engine cycle, its mean or its minimum (default: mean)
  --damping SECONDS         time constant, %4 to %5 s (default: %6)
Exit code %7: the port could not be opened, the board gave no reading, or it was
lost during the session (what was recorded is still analysed).
</source>
        <translation>
Dal vivo, sulla scheda:
  --live PORTA              interroga la scheda su PORTA (ttyUSB0, /dev/ttyACM0, ...);
                            da sola apre su di essa la finestra dal vivo
  --for SECONDI             con --summary, --csv o --report: registra per quel tempo,
                            poi analizza quanto registrato
  --period MS               il periodo di lettura, da %1 a %2 ms (predefinito: %3)
  --compare reference|1-2|3-4|pairs|linkage   che cosa confronta l&apos;esito dal vivo
                            (predefinito: ogni cilindro con il riferimento)
  --cycle mean|minimum      per ciclo motore, la media o il minimo (predefinito: mean)
  --damping SECONDI         costante di tempo, da %4 a %5 s (predefinita: %6)
Codice di uscita %7: la porta non si è aperta, la scheda non ha dato letture, o si è
persa durante la sessione (quanto registrato viene comunque analizzato).
</translation>
    </message>
</context>
<context>
    <name>CommandRun</name>
    <message>
        <source>no calibration is stored (%1); make one with --calibrate LOG</source>
        <translation>nessuna calibrazione salvata (%1); creane una con --calibrate LOG</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 non esiste</translation>
    </message>
    <message>
        <source>this mode needs the application</source>
        <translation>questa modalità richiede l&apos;applicazione</translation>
    </message>
    <message>
        <source>Calibration refused: %1</source>
        <translation>Calibrazione rifiutata: %1</translation>
    </message>
    <message>
        <source>Sensor %1: offset %2, noise %3</source>
        <translation>Sensore %1: scostamento %2, rumore %3</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Prima</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Dopo</translation>
    </message>
    <message>
        <source>Calibration stored in %1. It is applied when asked for: --calibration use, or “Apply the sensor calibration” in the window.</source>
        <translation>Calibrazione salvata in %1. Viene applicata quando lo si chiede: --calibration use, o “Applica la calibrazione dei sensori” nella finestra.</translation>
    </message>
</context>
<context>
    <name>FileTexts</name>
    <message>
        <source>it does not exist</source>
        <translation>non esiste</translation>
    </message>
    <message>
        <source>it is not a regular file (a folder, device or pipe)</source>
        <translation>non è un file normale (una cartella, un dispositivo o una pipe)</translation>
    </message>
    <message>
        <source>it is too large</source>
        <translation>è troppo grande</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>è cambiato durante la lettura</translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation>il sistema non ha dato un motivo</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>impossibile scrivere %1: %2</translation>
    </message>
</context>
<context>
    <name>EngineSpeed</name>
    <message>
        <source>%1 rpm</source>
        <translation>%1 giri/min</translation>
    </message>
    <message>
        <source>not measured yet</source>
        <translation>non ancora misurato</translation>
    </message>
    <message>
        <source>cannot be measured: the readings come too far apart; poll faster or set a shorter inner-loop count on the board</source>
        <translation>non misurabile: le letture arrivano troppo distanziate; leggi più spesso o imposta sulla scheda un ciclo for interno più corto</translation>
    </message>
    <message>
        <source>cannot be measured: the readings carry no intake pulses; set the board so: a short inner-loop count and a low-pass coefficient near 1</source>
        <translation>non misurabile: le letture non portano gli impulsi di aspirazione; imposta la scheda così: ciclo for interno corto e filtro low-pass vicino a 1</translation>
    </message>
    <message>
        <source>Idle speed drifted from %1 to %2 rpm (%3 %) during the session: synchronise at a steady idle</source>
        <translation>Il minimo è variato da %1 a %2 giri/min (%3 %) durante la sessione: sincronizza a un minimo stabile</translation>
    </message>
</context>
<context>
    <name>Live</name>
    <message>
        <source>IN SYNC</source>
        <translation>IN SINCRONIA</translation>
    </message>
    <message>
        <source>OUT OF SYNC</source>
        <translation>FUORI SINCRONIA</translation>
    </message>
    <message>
        <source>no readings yet</source>
        <translation>ancora nessuna lettura</translation>
    </message>
    <message>
        <source>in sync for %1 s</source>
        <translation>in sincronia da %1 s</translation>
    </message>
    <message>
        <source>out of sync for %1 s</source>
        <translation>fuori sincronia da %1 s</translation>
    </message>
    <message>
        <source>Live verdict at the end: %1, %2</source>
        <translation>Esito dal vivo alla fine: %1, %2</translation>
    </message>
    <message>
        <source>Live verdict at the end: no readings</source>
        <translation>Esito dal vivo alla fine: nessuna lettura</translation>
    </message>
    <message>
        <source>  %1: %2</source>
        <translation>  %1: %2</translation>
    </message>
    <message>
        <source>Engine speed: %1</source>
        <translation>Regime del motore: %1</translation>
    </message>
</context>
<context>
    <name>LiveBars</name>
    <message>
        <source>%1 (reference)</source>
        <translation>%1 (riferimento)</translation>
    </message>
</context>
<context>
    <name>LiveRun</name>
    <message>
        <source>no calibration is stored; make one with --calibrate LOG</source>
        <translation>nessuna calibrazione salvata; creane una con --calibrate LOG</translation>
    </message>
    <message>
        <source>The board was lost after %1 s; what was recorded until then is analysed.</source>
        <translation>La scheda si è persa dopo %1 s; si analizza quanto registrato fino ad allora.</translation>
    </message>
    <message>
        <source>live on %1</source>
        <translation>dal vivo su %1</translation>
    </message>
    <message>
        <source>live verdict</source>
        <translation>esito dal vivo</translation>
    </message>
    <message>
        <source>live verdict held (s)</source>
        <translation>durata dell&apos;esito dal vivo (s)</translation>
    </message>
    <message>
        <source>live difference %1 (%2)</source>
        <translation>differenza dal vivo %1 (%2)</translation>
    </message>
    <message>
        <source>engine speed (rpm)</source>
        <translation>regime del motore (giri/min)</translation>
    </message>
    <message>
        <source>engine speed note</source>
        <translation>nota sul regime del motore</translation>
    </message>
    <message>
        <source>idle drift</source>
        <translation>variazione del minimo</translation>
    </message>
    <message>
        <source>Live session on %1: %2 readings in %3 s, %4 polls sent, %5 replies discarded</source>
        <translation>Sessione dal vivo su %1: %2 letture in %3 s, %4 interrogazioni inviate, %5 risposte scartate</translation>
    </message>
</context>
<context>
    <name>LiveWaveform</name>
    <message>
        <source>−%1 s</source>
        <translation>−%1 s</translation>
    </message>
    <message>
        <source>kPa, now</source>
        <translation>kPa, adesso</translation>
    </message>
</context>
<context>
    <name>LiveWindow</name>
    <message>
        <source>Workshop presets</source>
        <translation>Preimpostazioni d&apos;officina</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Reference cylinder</source>
        <translation>Cilindro di riferimento</translation>
    </message>
    <message>
        <source>Tolerance ± (%1)</source>
        <translation>Tolleranza ± (%1)</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Aggiungi</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Rimuovi</translation>
    </message>
    <message>
        <source>Aspirello Analisi: tuning live</source>
        <translation>Aspirello Analisi: regolazione dal vivo</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Scheda</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Porta:</translation>
    </message>
    <message>
        <source>The board&apos;s serial port, or a device path</source>
        <translation>La porta seriale della scheda, o il percorso di un dispositivo</translation>
    </message>
    <message>
        <source> every </source>
        <translation> ogni </translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Collega</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Prima</translation>
    </message>
    <message>
        <source>Record the session before tuning; press again to save it as a log</source>
        <translation>Registra la sessione prima della regolazione; premi di nuovo per salvarla come log</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Dopo</translation>
    </message>
    <message>
        <source>Record the session after tuning; press again to save it as a log</source>
        <translation>Registra la sessione dopo la regolazione; premi di nuovo per salvarla come log</translation>
    </message>
    <message>
        <source>Compare before and after</source>
        <translation>Confronta prima e dopo</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Schermo intero</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>Regolazione</translation>
    </message>
    <message>
        <source>Preset:</source>
        <translation>Preimpostazione:</translation>
    </message>
    <message>
        <source>Edit presets…</source>
        <translation>Modifica preimpostazioni…</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unità:</translation>
    </message>
    <message>
        <source>Cylinder %1</source>
        <translation>Cilindro %1</translation>
    </message>
    <message>
        <source>Reference:</source>
        <translation>Riferimento:</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>Tolleranza:</translation>
    </message>
    <message>
        <source>Each cylinder against the reference</source>
        <translation>Ogni cilindro con il riferimento</translation>
    </message>
    <message>
        <source>Cylinder 1 against 2</source>
        <translation>Cilindro 1 con 2</translation>
    </message>
    <message>
        <source>Cylinder 3 against 4</source>
        <translation>Cilindro 3 con 4</translation>
    </message>
    <message>
        <source>Pair 1+2 against 3+4</source>
        <translation>Coppia 1+2 con 3+4</translation>
    </message>
    <message>
        <source>Linkage screws: 1–2, 1+2–3+4, 3–4</source>
        <translation>Viti dei leveraggi: 1–2, 1+2–3+4, 3–4</translation>
    </message>
    <message>
        <source>Compare:</source>
        <translation>Confronta:</translation>
    </message>
    <message>
        <source>Mean of each engine cycle</source>
        <translation>Media di ogni ciclo motore</translation>
    </message>
    <message>
        <source>Minimum of each engine cycle</source>
        <translation>Minimo di ogni ciclo motore</translation>
    </message>
    <message>
        <source>Per cycle:</source>
        <translation>Per ciclo:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Damping:</source>
        <translation>Smorzamento:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatica</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Fissa</translation>
    </message>
    <message>
        <source>Scale:</source>
        <translation>Scala:</translation>
    </message>
    <message>
        <source>Scale range:</source>
        <translation>Ampiezza della scala:</translation>
    </message>
    <message>
        <source>Bars damped with a time constant of %1 s; each follows the %2 of the last engine cycle.</source>
        <translation>Barre smorzate con una costante di tempo di %1 s; ognuna segue il %2 dell&apos;ultimo ciclo motore.</translation>
    </message>
    <message>
        <source>mean</source>
        <translation>valore medio</translation>
    </message>
    <message>
        <source>minimum</source>
        <translation>minimo</translation>
    </message>
    <message>
        <source>(own choice)</source>
        <translation>(scelta propria)</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Collegato a %1</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Scollega</translation>
    </message>
    <message>
        <source>Recording “After”…</source>
        <translation>Registrazione “Dopo”…</translation>
    </message>
    <message>
        <source>Recording “Before”…</source>
        <translation>Registrazione “Prima”…</translation>
    </message>
    <message>
        <source>Nothing recorded: no reading came from the board.</source>
        <translation>Niente registrato: dalla scheda non è arrivata nessuna lettura.</translation>
    </message>
    <message>
        <source>“After” saved to %1</source>
        <translation>“Dopo” salvato in %1</translation>
    </message>
    <message>
        <source>“Before” saved to %1</source>
        <translation>“Prima” salvato in %1</translation>
    </message>
    <message>
        <source>Engine speed: %1</source>
        <translation>Regime del motore: %1</translation>
    </message>
</context>
<context>
    <name>LogReader</name>
    <message>
        <source>expected 8 comma-separated numbers, found an empty or single field</source>
        <translation>attesi 8 numeri separati da virgole, trovato un campo vuoto o unico</translation>
    </message>
    <message>
        <source>expected 8 comma-separated numbers, found %1 fields</source>
        <translation>attesi 8 numeri separati da virgole, trovati %1 campi</translation>
    </message>
    <message>
        <source>field %1 is not a number</source>
        <translation>il campo %1 non è un numero</translation>
    </message>
    <message>
        <source>field %1 is a number too large for a reading</source>
        <translation>il campo %1 è un numero troppo grande per una lettura</translation>
    </message>
    <message>
        <source>binary data, not text</source>
        <translation>dati binari, non testo</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, riga %2: %3</translation>
    </message>
    <message>
        <source>%1 is a binary file, not a measurement log (line %2)</source>
        <translation>%1 è un file binario, non un log di misura (riga %2)</translation>
    </message>
    <message numerus="yes">
        <source>%1 holds no valid readings (%n bad lines)</source>
        <translation>
            <numerusform>%1 non contiene letture valide (%n riga errata)</numerusform>
            <numerusform>%1 non contiene letture valide (%n righe errate)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 holds no readings</source>
        <translation>%1 non contiene letture</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>impossibile aprire %1: %2</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 non esiste</translation>
    </message>
    <message>
        <source>%1 is a folder, not a log</source>
        <translation>%1 è una cartella, non un log</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>impossibile leggere %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 non è un file normale</translation>
    </message>
    <message>
        <source>%1 is too large for a measurement log (%2 MB; at most %3 MB)</source>
        <translation>%1 è troppo grande per un log di misura (%2 MB; al massimo %3 MB)</translation>
    </message>
    <message>
        <source>%1 changed while it was read (another program is writing it); open it again once it is complete</source>
        <translation>%1 è cambiato durante la lettura (un altro programma lo sta scrivendo); riaprilo quando è completo</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Report written to %1</source>
        <translation>Rapporto scritto in %1</translation>
    </message>
    <message>
        <source>Try --help.</source>
        <translation>Prova --help.</translation>
    </message>
    <message>
        <source>There is no display to show the window on. Without one, use --report, --summary or --csv (see --help).</source>
        <translation>Non c&apos;è uno schermo su cui mostrare la finestra. Senza, usa --report, --summary o --csv (vedi --help).</translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation>il sistema non ha dato un motivo</translation>
    </message>
    <message>
        <source>Standard output could not be written: %1</source>
        <translation>Impossibile scrivere sullo standard output: %1</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Pressures (light: readings, dark: running averages)</source>
        <translation>Pressioni (chiaro: letture, scuro: medie mobili)</translation>
    </message>
    <message>
        <source>Differences from cylinder %1, tolerance ±%2</source>
        <translation>Differenze dal cilindro %1, tolleranza ±%2</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimo</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Massimo</translation>
    </message>
    <message>
        <source>Pulsation (std. dev.)</source>
        <translation>Pulsazione (dev. std.)</translation>
    </message>
    <message>
        <source>Cylinder %1 (reference)</source>
        <translation>Cilindro %1 (riferimento)</translation>
    </message>
    <message>
        <source>Cylinder %1</source>
        <translation>Cilindro %1</translation>
    </message>
    <message>
        <source>Aspirello: carburettor sync, before and after</source>
        <translation>Aspirello: sincronizzazione dei carburatori, prima e dopo</translation>
    </message>
    <message>
        <source>Aspirello: carburettor sync report</source>
        <translation>Aspirello: rapporto di sincronizzazione dei carburatori</translation>
    </message>
    <message>
        <source>Before: %1</source>
        <translation>Prima: %1</translation>
    </message>
    <message>
        <source>After: %1</source>
        <translation>Dopo: %1</translation>
    </message>
    <message>
        <source>reference cylinder %1</source>
        <translation>cilindro di riferimento %1</translation>
    </message>
    <message>
        <source>tolerance ±%1</source>
        <translation>tolleranza ±%1</translation>
    </message>
    <message>
        <source>running averages compared</source>
        <translation>confrontate le medie mobili</translation>
    </message>
    <message>
        <source>raw readings compared</source>
        <translation>confrontate le letture grezze</translation>
    </message>
    <message>
        <source>No sensor calibration applied.</source>
        <translation>Nessuna calibrazione dei sensori applicata.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>impossibile scrivere %1: %2</translation>
    </message>
    <message>
        <source>the image could not be encoded</source>
        <translation>non è stato possibile codificare l&apos;immagine</translation>
    </message>
    <message>
        <source>the drawing could not be started</source>
        <translation>non è stato possibile iniziare il disegno</translation>
    </message>
    <message>
        <source>Difference at the end</source>
        <translation>Differenza alla fine</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message numerus="yes">
        <source>%n bad lines skipped</source>
        <translation>
            <numerusform>%n riga errata saltata</numerusform>
            <numerusform>%n righe errate saltate</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n beyond ±%1 kPa, which no sensor reads</source>
        <translation>
            <numerusform>%n oltre ±%1 kPa, che nessun sensore legge</numerusform>
            <numerusform>%n oltre ±%1 kPa, che nessun sensore legge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not a number (nan or inf)</source>
        <translation>
            <numerusform>%n non numero (nan o inf)</numerusform>
            <numerusform>%n non numeri (nan o inf)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n values left out: %1</source>
        <translation>
            <numerusform>%n valore tralasciato: %1</numerusform>
            <numerusform>%n valori tralasciati: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>salvato il %1</translation>
    </message>
</context>
<context>
    <name>SessionGraph</name>
    <message>
        <source>Cylinder %1 readings</source>
        <translation>Letture del cilindro %1</translation>
    </message>
    <message>
        <source>Cylinder %1</source>
        <translation>Cilindro %1</translation>
    </message>
    <message>
        <source>Cylinder %1 (reference)</source>
        <translation>Cilindro %1 (riferimento)</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Tempo (s)</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Lettura</translation>
    </message>
    <message>
        <source>Pressure (%1)</source>
        <translation>Pressione (%1)</translation>
    </message>
    <message>
        <source>Difference (%1)</source>
        <translation>Differenza (%1)</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <translation>Tolleranza</translation>
    </message>
    <message>
        <source>All four in sync</source>
        <translation>Tutti e quattro in sincronia</translation>
    </message>
</context>
<context>
    <name>Statistics</name>
    <message>
        <source>Cylinder %1: its pulsation stands out from the others. This may point to a leak (a valve, false air) rather than to the carburettor&apos;s setting.</source>
        <translation>Cilindro %1: la sua pulsazione si distingue dalle altre. Può indicare una perdita (una valvola, aria falsa) più che la regolazione del carburatore.</translation>
    </message>
</context>
<context>
    <name>SyncAnalysis</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message numerus="yes">
        <source>%n readings</source>
        <translation>
            <numerusform>%n lettura</numerusform>
            <numerusform>%n letture</numerusform>
        </translation>
    </message>
    <message>
        <source>cylinder %1 has no valid reading at the end</source>
        <translation>il cilindro %1 non ha una lettura valida alla fine</translation>
    </message>
    <message>
        <source>Pairs (cylinders 1+2 against 3+4)</source>
        <translation>Coppie (cilindri 1+2 contro 3+4)</translation>
    </message>
    <message>
        <source>No readings.</source>
        <translation>Nessuna lettura.</translation>
    </message>
    <message>
        <source>In sync: all four cylinders within ±%1 of cylinder %2 for the last %3.</source>
        <translation>In sincronia: tutti e quattro i cilindri entro ±%1 dal cilindro %2 per %3, fino alla fine.</translation>
    </message>
    <message>
        <source>cylinder %1 has %2 more vacuum than the reference</source>
        <translation>il cilindro %1 ha %2 più depressione del riferimento</translation>
    </message>
    <message>
        <source>cylinder %1 has %2 less vacuum than the reference</source>
        <translation>il cilindro %1 ha %2 meno depressione del riferimento</translation>
    </message>
    <message>
        <source>Not in sync at the end (reference cylinder %1, tolerance ±%2): %3.</source>
        <translation>Non in sincronia alla fine (cilindro di riferimento %1, tolleranza ±%2): %3.</translation>
    </message>
    <message>
        <source>%1: no readings.</source>
        <translation>%1: nessuna lettura.</translation>
    </message>
    <message>
        <source>%1: in sync, their means within ±%2 of each other for the last %3.</source>
        <translation>%1: in sincronia, le loro medie entro ±%2 l&apos;una dall&apos;altra per %3, fino alla fine.</translation>
    </message>
    <message>
        <source>%1: not in sync at the end, a cylinder has no valid reading.</source>
        <translation>%1: non in sincronia alla fine, un cilindro non ha una lettura valida.</translation>
    </message>
    <message>
        <source>%1: not in sync at the end, cylinders %2 have %3 more vacuum than cylinders %4.</source>
        <translation>%1: non in sincronia alla fine, i cilindri %2 hanno %3 più depressione dei cilindri %4.</translation>
    </message>
    <message>
        <source>%1: not in sync at the end, cylinders %2 have %3 less vacuum than cylinders %4.</source>
        <translation>%1: non in sincronia alla fine, i cilindri %2 hanno %3 meno depressione dei cilindri %4.</translation>
    </message>
    <message>
        <source>the reference, cylinder %1, has no valid reading at the end</source>
        <translation>il riferimento, il cilindro %1, non ha una lettura valida alla fine</translation>
    </message>
</context>
<context>
    <name>TextOutput</name>
    <message>
        <source>raw readings</source>
        <translation>letture grezze</translation>
    </message>
    <message>
        <source>running averages</source>
        <translation>medie mobili</translation>
    </message>
    <message>
        <source>never within the band</source>
        <translation>mai entro la banda</translation>
    </message>
    <message>
        <source>Log: %1</source>
        <translation>Log: %1</translation>
    </message>
    <message>
        <source>Saved: %1</source>
        <translation>Salvato: %1</translation>
    </message>
    <message>
        <source>Length: %1 (%2)</source>
        <translation>Durata: %1 (%2)</translation>
    </message>
    <message>
        <source>Length: %1</source>
        <translation>Durata: %1</translation>
    </message>
    <message>
        <source>Reference: cylinder %1; tolerance: ±%2; compared: %3</source>
        <translation>Riferimento: cilindro %1; tolleranza: ±%2; confronto: %3</translation>
    </message>
    <message>
        <source>Cylinder</source>
        <translation>Cilindro</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimo</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Massimo</translation>
    </message>
    <message>
        <source>no valid readings</source>
        <translation>nessuna lettura valida</translation>
    </message>
    <message>
        <source>In sync (all four within the band): %1</source>
        <translation>In sincronia (tutti e quattro entro la banda): %1</translation>
    </message>
    <message>
        <source>cylinder</source>
        <translation>cilindro</translation>
    </message>
    <message>
        <source>mean (%1)</source>
        <translation>media (%1)</translation>
    </message>
    <message>
        <source>minimum (%1)</source>
        <translation>minimo (%1)</translation>
    </message>
    <message>
        <source>maximum (%1)</source>
        <translation>massimo (%1)</translation>
    </message>
    <message>
        <source>mean difference from reference (%1)</source>
        <translation>differenza media dal riferimento (%1)</translation>
    </message>
    <message>
        <source>pulsation stands out</source>
        <translation>pulsazione anomala</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>sì</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
    <message>
        <source>item</source>
        <translation>voce</translation>
    </message>
    <message>
        <source>value</source>
        <translation>valore</translation>
    </message>
    <message>
        <source>log</source>
        <translation>log</translation>
    </message>
    <message>
        <source>saved</source>
        <translation>salvato</translation>
    </message>
    <message>
        <source>readings</source>
        <translation>letture</translation>
    </message>
    <message>
        <source>poll period (s)</source>
        <translation>periodo di lettura (s)</translation>
    </message>
    <message>
        <source>bad lines skipped</source>
        <translation>righe errate saltate</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>unità</translation>
    </message>
    <message>
        <source>calibration</source>
        <translation>calibrazione</translation>
    </message>
    <message>
        <source>reference cylinder</source>
        <translation>cilindro di riferimento</translation>
    </message>
    <message>
        <source>tolerance (%1)</source>
        <translation>tolleranza (%1)</translation>
    </message>
    <message>
        <source>compared</source>
        <translation>confronto</translation>
    </message>
    <message>
        <source>in-sync stretches</source>
        <translation>tratti in sincronia</translation>
    </message>
    <message>
        <source>readings in sync</source>
        <translation>letture in sincronia</translation>
    </message>
    <message>
        <source>longest in-sync stretch</source>
        <translation>tratto in sincronia più lungo</translation>
    </message>
    <message>
        <source>longest in-sync stretch from reading</source>
        <translation>tratto in sincronia più lungo dalla lettura</translation>
    </message>
    <message>
        <source>verdict</source>
        <translation>esito</translation>
    </message>
    <message>
        <source>pairs verdict</source>
        <translation>esito delle coppie</translation>
    </message>
    <message>
        <source>pulsation</source>
        <translation>pulsazione</translation>
    </message>
    <message numerus="yes">
        <source>%n stretches within the band, %1 of the session; the longest %2, from reading %3</source>
        <translation>
            <numerusform>%n tratto entro la banda, %1 della sessione; il più lungo %2, dalla lettura %3</numerusform>
            <numerusform>%n tratti entro la banda, %1 della sessione; il più lungo %2, dalla lettura %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, their means within the band: %2</source>
        <translation>%1, le loro medie entro la banda: %2</translation>
    </message>
    <message>
        <source>Pulsation</source>
        <translation>Pulsazione</translation>
    </message>
    <message>
        <source>Mean diff.</source>
        <translation>Diff. media</translation>
    </message>
    <message>
        <source>Mean diff.: the cylinder&apos;s mean minus the reference&apos;s; pulsation: the standard deviation of its readings.</source>
        <translation>Diff. media: la media del cilindro meno quella del riferimento; pulsazione: la deviazione standard delle sue letture.</translation>
    </message>
    <message>
        <source>pulsation, standard deviation (%1)</source>
        <translation>pulsazione, deviazione standard (%1)</translation>
    </message>
    <message>
        <source>difference at the end (%1)</source>
        <translation>differenza alla fine (%1)</translation>
    </message>
    <message>
        <source>values beyond ±%1 kPa left out</source>
        <translation>valori oltre ±%1 kPa tralasciati</translation>
    </message>
    <message>
        <source>values not a number left out</source>
        <translation>valori non numerici tralasciati</translation>
    </message>
    <message>
        <source>decimal separator</source>
        <translation>separatore decimale</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>hPa (mbar)</source>
        <translation>hPa (mbar)</translation>
    </message>
</context>
<context>
    <name>WorkshopPresets</name>
    <message>
        <source>Yamaha inline four: ±10 mmHg against cylinder 2</source>
        <translation>Yamaha quattro in linea: ±10 mmHg rispetto al cilindro 2</translation>
    </message>
</context>
</TS>
